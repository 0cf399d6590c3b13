// How many UTF-16 code units (the edit boxes' positions) a stretch of UTF-8 text takes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillon::app {

inline long long Utf16Units(std::string_view utf8) {
    long long units = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (i + 8 <= utf8.size()) {  // eight ASCII bytes are eight code units
            std::uint64_t word;
            std::memcpy(&word, utf8.data() + i, sizeof word);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                units += 8;
                continue;
            }
        }
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if ((lead & 0xC0) != 0x80) units += lead >= 0xF0 ? 2 : 1;  // beyond the BMP: a pair
        ++i;
    }
    return units;
}

}  // namespace quillon::app
