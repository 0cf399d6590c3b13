// Splitting a script into lines as the interpreter collects them: control bytes (TAB
// included) are dropped, CR or LF ends a line, and the byte right after a line end always
// belongs to the next line, so CR LF, LF CR, CR CR and LF LF each end one line.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <string>
#include <string_view>

#include "scoring/byte_words.hpp"
#include "text/gbk_width.hpp"
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
    bool inPlace;              // text is the end of raw: raw less a leading line end at most
};

namespace detail {
inline bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Line ends in text[from, to) as an editor counts them: a CR LF pair is one.
inline std::size_t EditorLineEnds(std::string_view text, std::size_t from, std::size_t to) {
    if (to == from + 2 && text[from] == '\r' && text[from + 1] == '\n') return 1;  // the usual
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
    std::string line(4 * kMaxLineBytes + 16, '\0');  // a line collected without its control bytes
    std::size_t pos = 0;
    std::size_t number = 0;
    std::size_t editorLine = 1;
    std::size_t counted = 0;  // editor line ends are counted up to here (a line holds none)
    while (pos < text.size()) {  // at the end, the byte taken would be the terminating NUL
        // The first byte is always taken; the line runs to the next CR or LF.
        const auto first = static_cast<unsigned char>(text[pos]);
        bool clean = true;  // no control byte after the first
        bool dropped = first < 32 && !detail::IsLineEnd(text[pos]);
        std::size_t end = pos + 1;
        while (end < text.size()) {
            // Eight bytes at a time up to the line end, noting a control byte on the way.
            if (end + 8 <= text.size()) {
                const std::uint64_t eight = bytes::Load(text.data() + end);
                if (!bytes::HasByteBelow(eight, 32)) {
                    end += 8;
                    continue;
                }
                const std::uint64_t ends = bytes::FirstBytesEqual(eight, '\r') | bytes::FirstBytesEqual(eight, '\n');  // the first counts
                const auto firstEnd = static_cast<unsigned>(std::countr_zero(ends)) / 8;  // 8: none
                if (bytes::FirstByteBelow(eight, 32) < firstEnd) {
                    clean = false;
                    dropped = true;
                }
                end += firstEnd;
                if (firstEnd < 8) break;
                continue;
            }
            // The last few bytes, one at a time.
            const auto byte = static_cast<unsigned char>(text[end]);
            if (byte < 32) {
                if (detail::IsLineEnd(text[end])) break;
                clean = false;
                dropped = true;
            }
            ++end;
        }
        // Between the last line's own bytes and this one's stand only line ends.
        const std::size_t own = detail::IsLineEnd(text[pos]) ? pos + 1 : pos;
        editorLine += detail::EditorLineEnds(text, counted, own);
        ScriptLine current{{}, text.substr(pos, end - pos), ++number, editorLine, own, dropped, false, false};
        // The usual line has nothing to drop but the LF of a CR LF before it. No character takes
        // more GBK bytes than UTF-8 bytes, so a short line is never cut.
        const std::size_t skip = first < 32 && detail::IsLineEnd(text[pos]) ? 1 : 0;
        if (clean && (first >= 32 || skip == 1) && end - pos - skip <= kMaxLineBytes) {
            current.text = current.raw.substr(skip);
            current.inPlace = true;
        } else {
            // Bytes from 32 up are kept; no character takes more than four UTF-8 bytes a GBK
            // byte, so past 4 × the limit the rest can only be cut.
            char* const kept = line.data();
            std::size_t size = 0;
            std::size_t i = first < 32 ? pos + 1 : pos;  // a first control byte, as the usual line end, is dropped
            // Eight bytes at a time while eight can be read (the last line may end the text): each
            // word is stored whole with its control bytes taken out, and only its kept bytes count,
            // so the next store starts where they end.
            for (; i < end && i + 8 <= text.size() && size <= 4 * kMaxLineBytes;) {
                const std::size_t valid = std::min<std::size_t>(8, end - i);
                const std::uint64_t inLine = valid == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * valid)) - 1;
                const std::uint64_t eight = bytes::Load(text.data() + i);
                const std::uint64_t controls = bytes::ControlBytes(eight) & inLine;
                bytes::Store(kept + size, bytes::WithoutMarkedBytes(eight, controls));
                size += valid - bytes::CountMarks(controls);
                i += valid;
            }
            for (; i < end && size <= 4 * kMaxLineBytes; ++i) {
                kept[size] = text[i];
                size += static_cast<unsigned char>(text[i]) >= 32 ? 1 : 0;
            }
            const std::string_view collected(kept, size);
            const std::size_t length = size <= kMaxLineBytes ? size : GbkPrefixLength(collected, kMaxLineBytes);
            current.cut = length < size;
            current.text = collected.substr(0, length);
        }
        onLine(current);
        counted = end;
        pos = end + 1;  // step over the CR or LF that ended the line
    }
}

// An editor's row as the run collects it: its control bytes dropped, cut where a line is cut. The
// row ends at its first line end, if it has one.
inline std::string CollectedRow(std::string_view row) {
    std::string line;
    ForEachLine(row.substr(0, row.find_first_of("\r\n")), [&](const ScriptLine& only) { line.assign(only.text); });
    return line;
}

}  // namespace quillon
