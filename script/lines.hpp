// Splitting a script into lines as the interpreter collects them: control bytes (TAB
// included) are dropped, CR or LF ends a line, and the byte right after a line end always
// belongs to the next line, so CR LF, LF CR, CR CR and LF LF each end one line.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "scoring/gbk_width.hpp"
#include "scoring/limits.hpp"

namespace quillon {

struct ScriptLine {
    std::string_view text;     // as collected: control bytes dropped, cut at kMaxLineBytes
    std::string_view raw;      // the line's bytes as they stand in the script
    std::size_t number;        // as the splitter counts, from 1
    std::size_t editorLine;    // as an editor counts (CR LF, LF or CR end one line), from 1
    std::size_t offset;        // where the line's own bytes start (past a leading line end)
    bool droppedControls;      // a control byte other than a line end was dropped
    bool cut;                  // longer than kMaxLineBytes: the rest was dropped
};

namespace detail {
inline bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Line ends in text[from, to) as an editor counts them: a CR LF pair is one.
inline std::size_t EditorLineEnds(std::string_view text, std::size_t from, std::size_t to) {
    std::size_t ends = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (text[i] == '\r' || (text[i] == '\n' && !(i > 0 && text[i - 1] == '\r'))) ++ends;
    }
    return ends;
}
}  // namespace detail

// Calls onLine(const ScriptLine&) for every line.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
    std::string line;
    line.reserve(kMaxLineBytes + 4);
    std::size_t pos = 0;
    std::size_t number = 0;
    std::size_t editorLine = 1;
    std::size_t counted = 0;  // editor line ends are counted up to here (a line holds none)
    while (pos < text.size()) {  // at the end, the byte taken would be the terminating NUL
        // The first byte is always taken; the line runs to the next CR or LF.
        const auto first = static_cast<unsigned char>(text[pos]);
        bool clean = first >= 32;
        bool dropped = !clean && !detail::IsLineEnd(text[pos]);
        std::size_t end = pos + 1;
        for (; end < text.size(); ++end) {
            const auto byte = static_cast<unsigned char>(text[end]);
            if (byte >= 32) continue;
            if (detail::IsLineEnd(text[end])) break;
            clean = false;
            dropped = true;
        }
        // Between the last line's own bytes and this one's stand only line ends.
        const std::size_t own = detail::IsLineEnd(text[pos]) ? pos + 1 : pos;
        editorLine += detail::EditorLineEnds(text, counted, own);
        ScriptLine current{{}, text.substr(pos, end - pos), ++number, editorLine, own, dropped, false};
        // No character takes more GBK bytes than UTF-8 bytes, so a short line is never cut.
        if (clean && end - pos <= kMaxLineBytes) {  // the usual line: nothing to drop
            current.text = current.raw;
        } else {
            line.clear();
            for (std::size_t i = pos; i < end;) {  // runs of bytes from 32 up are kept
                std::size_t run = i;
                while (run < end && static_cast<unsigned char>(text[run]) >= 32) ++run;
                line.append(text.data() + i, run - i);
                i = run + 1;
                if (line.size() > 4 * kMaxLineBytes) break;  // already more than the limit
            }
            const std::size_t kept = GbkPrefixLength(line, kMaxLineBytes);
            current.cut = kept < line.size();
            line.resize(kept);
            current.text = line;
        }
        onLine(current);
        counted = end;
        pos = end + 1;  // step over the CR or LF that ended the line
    }
}

}  // namespace quillon
