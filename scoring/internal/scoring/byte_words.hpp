// Eight bytes of text at a time, as one 64-bit word: the line splitter and the object scan step
// over runs of ordinary bytes with these instead of testing every byte.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quillon::bytes {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t Load(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

inline void Store(char* at, std::uint64_t word) { std::memcpy(at, &word, sizeof word); }

// Whether some byte of the word is below n (n at most 128). Exact as a yes or no; which bytes
// it marks above the lowest such byte is not.
constexpr bool HasByteBelow(std::uint64_t word, unsigned n) {
    return ((word - kOnes * n) & ~word & kHighBits) != 0;
}

// The index of the first byte of the word (as loaded from text) that is below n, or 8 when
// none is: the lowest mark of HasByteBelow's test is always exact.
inline unsigned FirstByteBelow(std::uint64_t word, unsigned n) {
    static_assert(std::endian::native == std::endian::little, "the first byte of the text is the lowest");
    const std::uint64_t marks = (word - kOnes * n) & ~word & kHighBits;
    return static_cast<unsigned>(std::countr_zero(marks)) / 8;
}

// The high bit of exactly each byte that is zero.
constexpr std::uint64_t ZeroBytes(std::uint64_t word) {
    constexpr std::uint64_t low7 = ~kHighBits;
    return ~(((word & low7) + low7) | word | low7);
}

// The high bit of exactly each byte equal to c.
constexpr std::uint64_t BytesEqual(std::uint64_t word, unsigned char c) { return ZeroBytes(word ^ (kOnes * c)); }

// The index of the first byte of the word equal to c, or 8 when none is.
inline unsigned FirstByteEqual(std::uint64_t word, unsigned char c) {
    return static_cast<unsigned>(std::countr_zero(BytesEqual(word, c))) / 8;
}

}  // namespace quillon::bytes
