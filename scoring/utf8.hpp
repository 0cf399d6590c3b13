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

// The longest prefix of at most maxBytes that does not split a character.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);

bool IsValidUtf8(std::string_view text);

// Every byte below 0x80.
bool IsAscii(std::string_view text);

// The text with every byte that is not part of a well-formed character replaced by U+FFFD;
// replaced, when given, is raised by their number.
std::string RepairUtf8(std::string_view text, std::size_t* replaced = nullptr);

}  // namespace quillon
