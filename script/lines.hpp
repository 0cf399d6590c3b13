// Splitting a script into lines as the interpreter collects them: control bytes (TAB
// included) are dropped, CR or LF ends a line, and the byte right after a line end always
// belongs to the next line, so CR LF, LF CR, CR CR and LF LF each end one line.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "scoring/utf8.hpp"

namespace quillon {

// A longer line is cut here (at a character boundary) and the rest of it dropped.
inline constexpr std::size_t kMaxLineBytes = 1999;

// Calls onLine(collected, lineNumber, raw, dropped) for every line, numbered from 1; raw is the
// line's bytes as they stand in the text, and dropped tells whether a control byte other than
// a line end (a TAB, say) was dropped from it.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
    std::string line;
    line.reserve(kMaxLineBytes + 4);
    std::size_t pos = 0;
    std::size_t number = 0;
    while (pos < text.size()) {  // at the end, the byte taken would be the terminating NUL
        // The first byte is always taken; the line runs to the next CR or LF.
        const auto first = static_cast<unsigned char>(text[pos]);
        bool clean = first >= 32;
        bool dropped = !clean && first != '\r' && first != '\n';
        std::size_t end = pos + 1;
        for (; end < text.size(); ++end) {
            const auto byte = static_cast<unsigned char>(text[end]);
            if (byte >= 32) continue;
            if (byte == '\r' || byte == '\n') break;
            clean = false;
            dropped = true;
        }
        if (clean && end - pos <= kMaxLineBytes) {  // the usual line: nothing to drop
            onLine(text.substr(pos, end - pos), ++number, text.substr(pos, end - pos), false);
            pos = end + 1;
            continue;
        }
        line.clear();
        // Runs of bytes from 32 up are kept; control bytes, TAB included, are dropped. A few
        // bytes past the limit show whether the cut would split a character.
        constexpr std::size_t kCollect = kMaxLineBytes + 4;
        for (std::size_t i = pos; i < end && line.size() < kCollect;) {
            std::size_t run = i;
            while (run < end && static_cast<unsigned char>(text[run]) >= 32) ++run;
            line.append(text.data() + i, std::min(run - i, kCollect - line.size()));
            i = run + 1;
        }
        line.resize(Utf8PrefixLength(line, kMaxLineBytes));
        onLine(std::string_view(line), ++number, text.substr(pos, end - pos), dropped);
        pos = end + 1;  // step over the CR or LF that ended the line
    }
}

}  // namespace quillon
