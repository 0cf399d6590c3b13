#include "text/utf8.hpp"

#include <cstdint>
#include <cstring>

namespace quillon {

std::size_t WellFormedUtf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) return 1;
    // The common case of Chinese text: a three-byte character outside the special ranges.
    if (b0 > 0xE0 && b0 != 0xED && b0 < 0xF0 && i + 3 <= text.size() &&
        (byte(i + 1) & 0xC0) == 0x80 && (byte(i + 2) & 0xC0) == 0x80) {
        return 3;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;    // no overlong forms
        if (b0 == 0xED) high = 0x9F;   // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;   // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    return length;
}

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    std::size_t cut = maxBytes;
    // Step back over continuation bytes to the start of the character that would be split.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return cut;
}

bool IsAscii(std::string_view text) {
    std::size_t i = 0;
    std::uint64_t any = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        any |= word;
    }
    for (; i < text.size(); ++i) any |= static_cast<unsigned char>(text[i]);
    return (any & 0x8080808080808080ull) == 0;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // Scripts are mostly ASCII: step over 32, or eight, ASCII bytes at a time.
        if (i + 32 <= text.size()) {
            std::uint64_t words[4];
            std::memcpy(words, text.data() + i, sizeof words);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ull) == 0) {
                i += 32;
                continue;
            }
        }
        if (i + 8 <= text.size()) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, sizeof word);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = WellFormedUtf8Length(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string RepairUtf8(std::string_view text, std::size_t* replaced) {
    // Each bad byte grows to three: the size is counted first, so that the text is never moved
    // while it grows.
    const auto each = [&](auto onCharacter, auto onBad) {
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t length = WellFormedUtf8Length(text, i);
            if (length == 0) {
                onBad();
                ++i;
            } else {
                onCharacter(i, length);
                i += length;
            }
        }
    };
    std::size_t bad = 0;
    each([](std::size_t, std::size_t) {}, [&] { ++bad; });
    std::string out;
    out.reserve(text.size() + 2 * bad);
    each([&](std::size_t i, std::size_t length) { out.append(text.substr(i, length)); }, [&] { out += "\xEF\xBF\xBD"; });
    if (replaced != nullptr) *replaced += bad;
    return out;
}

}  // namespace quillon
