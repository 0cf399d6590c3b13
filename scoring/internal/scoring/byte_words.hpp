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

// The high bit of exactly each byte below 32: the control bytes, line ends included.
constexpr std::uint64_t ControlBytes(std::uint64_t word) { return ZeroBytes(word & (kOnes * 0xE0)); }

// How many bytes the marks (high bits, as the functions above give them) mark.
constexpr unsigned CountMarks(std::uint64_t marks) { return static_cast<unsigned>(((marks >> 7) * kOnes) >> 56); }

// The word with the marked bytes taken out and the bytes above each moved down into its place,
// as in text; the freed top bytes hold what the shifts leave there. Taken from the lowest, with
// the marks above moved down along with their bytes.
constexpr std::uint64_t WithoutMarkedBytes(std::uint64_t word, std::uint64_t marks) {
    while (marks != 0) {
        const std::uint64_t below = ((marks & (0 - marks)) >> 7) - 1;  // the bytes under the lowest marked one
        word = (word & below) | ((word >> 8) & ~below);
        marks = (marks & (marks - 1)) >> 8;
    }
    return word;
}

// The high bit of the first byte equal to c, and maybe of bytes after it: exact as to whether
// there is one and which is first, and cheaper than BytesEqual.
constexpr std::uint64_t FirstBytesEqual(std::uint64_t word, unsigned char c) {
    const std::uint64_t x = word ^ (kOnes * c);
    return (x - kOnes) & ~x & kHighBits;
}

// The index of the first byte of the word equal to c, or 8 when none is.
inline unsigned FirstByteEqual(std::uint64_t word, unsigned char c) {
    return static_cast<unsigned>(std::countr_zero(FirstBytesEqual(word, c))) / 8;
}

}  // namespace quillon::bytes
