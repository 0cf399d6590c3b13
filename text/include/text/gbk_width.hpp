// Lengths as the scoring rules count them: in the bytes the text takes in GBK. ASCII is 1 byte,
// a character GBK holds 2 (its euro sign, the single byte 0x80, 1), and a character GBK cannot
// hold 1, since it is written as "?". The text is valid UTF-8; a cut never splits a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillon {

std::size_t GbkCharWidth(char32_t c);
std::size_t GbkWidth(std::string_view utf8);

std::size_t GbkPrefixLengthOfLonger(std::string_view utf8, std::size_t maxWidth);

// The UTF-8 length of the longest prefix that takes at most maxWidth GBK bytes. No character
// takes more GBK bytes than UTF-8 bytes, so a text no longer than that is whole.
inline std::size_t GbkPrefixLength(std::string_view utf8, std::size_t maxWidth) {
    return utf8.size() <= maxWidth ? utf8.size() : GbkPrefixLengthOfLonger(utf8, maxWidth);
}

}  // namespace quillon
