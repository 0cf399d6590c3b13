// Splitting a script into lines as the interpreter collects them: control bytes (TAB
// included) are dropped, CR or LF ends a line, and the byte right after a line end always
// belongs to the next line, so CR LF, LF CR, CR CR and LF LF each end one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "scoring/utf8.hpp"

namespace quillon {

// A longer line is cut here (at a character boundary) and the rest of it dropped.
inline constexpr std::size_t kMaxLineBytes = 1999;

// Calls onLine(collected, lineNumber) for every line, numbered from 1.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
    std::string line;
    line.reserve(kMaxLineBytes + 1);
    std::size_t pos = 0;
    std::size_t number = 0;
    while (pos < text.size()) {  // at the end, the byte taken would be the terminating NUL
        std::size_t end = pos + 1;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        line.clear();
        // A few bytes past the limit show whether the cut would split a character.
        for (std::size_t i = pos; i < end && line.size() < kMaxLineBytes + 4; ++i) {
            if (static_cast<unsigned char>(text[i]) >= 32) line.push_back(text[i]);
        }
        line.resize(Utf8PrefixLength(line, kMaxLineBytes));
        onLine(std::string_view(line), ++number);
        pos = end + 1;  // step over the CR or LF that ended the line
    }
}

}  // namespace quillon
