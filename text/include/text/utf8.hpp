// Small UTF-8 helpers: the library's text is UTF-8, and cutting it anywhere (a long line, a
// long word, a full report) must never split a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// Bytes of the character that starts with this byte (1 for a stray continuation byte).
inline std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// The character c (a Unicode scalar value) at the end of out.
inline void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character of well-formed UTF-8 text that starts at byte i; i moves past it.
inline char32_t NextCharacter(std::string_view utf8, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = Utf8SequenceLength(lead);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += length;
    return c;
}

// The longest prefix of at most maxBytes that does not split a character.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);

bool IsValidUtf8(std::string_view text);

// Bytes of the well-formed character that starts at text[i], or 0 when the bytes there are none.
std::size_t WellFormedUtf8Length(std::string_view text, std::size_t i);

// Every byte below 0x80.
bool IsAscii(std::string_view text);

// The text with every byte that is not part of a well-formed character replaced by U+FFFD;
// replaced, when given, is raised by their number.
std::string RepairUtf8(std::string_view text, std::size_t* replaced = nullptr);

}  // namespace quillon
