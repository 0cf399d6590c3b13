#include "app/marks.hpp"

#include <algorithm>

#include "app/utf16_units.hpp"
#include "text/gbk_width.hpp"
#include "app/builtin_texts.hpp"

namespace quillon::app {
namespace {

std::string_view LineAt(std::string_view script, std::size_t offset) {
    if (offset > script.size()) return {};
    const std::string_view rest = script.substr(offset);
    return rest.substr(0, rest.find_first_of("\r\n"));
}

// The notice's lines, sorted for lookup; made once, never changed.
const std::vector<std::string_view>& NoticeLines() {
    static const std::vector<std::string_view> lines = [] {
        std::vector<std::string_view> found;
        for (std::string_view rest = NoticeText; !rest.empty();) {
            const std::size_t end = rest.find("\r\n");
            found.push_back(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        }
        std::sort(found.begin(), found.end());
        return found;
    }();
    return lines;
}

bool IsNoticeLine(std::string_view line) {
    const auto& lines = NoticeLines();
    return std::binary_search(lines.begin(), lines.end(), line);
}

}  // namespace

std::vector<Mark> MarksOf(const ScriptAccount& account, std::string_view script) {
    std::vector<Mark> marks;
    marks.reserve(account.problems.size() + account.notes.size());
    const auto add = [&](const Problem& p, bool note) {
        if (p.line >= account.listedUntil) return;
        const std::string_view line = LineAt(script, p.offset);
        if (!line.empty() && IsNoticeLine(line)) return;
        Mark mark;
        mark.row = p.line > 0 ? p.line - 1 : 0;
        if (p.wordLength > 0 && p.wordOffset >= p.offset && p.wordOffset + p.wordLength <= script.size()) {
            const std::string_view before = script.substr(p.offset, p.wordOffset - p.offset);
            const std::string_view word = script.substr(p.wordOffset, p.wordLength);
            mark.begin = static_cast<std::size_t>(Utf16Units(before));
            mark.end = mark.begin + static_cast<std::size_t>(Utf16Units(word));
            mark.beginCell = GbkWidth(before);
            mark.endCell = mark.beginCell + GbkWidth(word);
        }
        mark.message = (note ? "提示[" : "警告[") + std::string(p.code) + "]: " + p.message;
        mark.note = note;
        marks.push_back(std::move(mark));
    };
    for (const Problem& p : account.problems) add(p, false);
    if (account.notes.empty()) return marks;
    for (const Problem& p : account.notes) add(p, true);
    std::stable_sort(marks.begin(), marks.end(),
                     [](const Mark& a, const Mark& b) { return a.row != b.row ? a.row < b.row : !a.note && b.note; });
    return marks;
}

}  // namespace quillon::app
