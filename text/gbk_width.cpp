#include "text/gbk_width.hpp"

#include <array>
#include <cstdint>

#include "text/utf8.hpp"

namespace quillon {
namespace {

struct Range {
    char32_t first, last;
};

#include "gbk_two_byte_ranges.inc"  // kTwoByteRanges, written by codec/tables/make_tables.cpp

constexpr char32_t kEuroSign = 0x20AC;  // GBK's single byte 0x80

// One bit per BMP character: GBK writes it in two bytes.
constexpr std::array<std::uint64_t, 1024> kTwoByteBits = [] {
    std::array<std::uint64_t, 1024> bits{};
    for (const Range& r : kTwoByteRanges) {
        for (char32_t c = r.first; c <= r.last; ++c) bits[c >> 6] |= std::uint64_t{1} << (c & 63);
    }
    return bits;
}();

}  // namespace

std::size_t GbkCharWidth(char32_t c) {
    if (c < 0x80 || c == kEuroSign || c > 0xFFFF) return 1;
    return (kTwoByteBits[c >> 6] >> (c & 63) & 1) != 0 ? 2 : 1;
}

std::size_t GbkWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++width;
            ++i;
            continue;
        }
        width += GbkCharWidth(NextCharacter(text, i));
    }
    return width;
}

std::size_t GbkPrefixLengthOfLonger(std::string_view text, std::size_t maxWidth) {
    std::size_t width = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t next = i;
        const std::size_t w = GbkCharWidth(NextCharacter(text, next));
        if (width + w > maxWidth) break;
        width += w;
        i = next;
    }
    return i;
}

}  // namespace quillon
