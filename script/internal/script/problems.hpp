// The account's problems: what the handlers report they did with each word, and how the text
// itself was read, turned into problems with their codes, places and messages. The only place
// that knows the codes' meaning and words; the handlers and the scoring know none of it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "scoring/byte_words.hpp"
#include "scoring/objects.hpp"
#include "scoring/score_store.hpp"
#include "script/account.hpp"
#include "script/arguments.hpp"
#include "script/interpreter.hpp"
#include "script/layer_line.hpp"
#include "script/lines.hpp"
#include "script/unit_line.hpp"

namespace quillon {

// Adds problems to an account, each placed on the line being noted.
class ProblemLog {
public:
    ProblemLog(ScriptAccount& account, std::string_view script) : account_(account), script_(script) {}

    void startLine(const ScriptLine& line, LineKind kind);
    void endLine() { line_ = nullptr; }  // later problems are about the whole last line

    // About the whole line, or the word at [start, start + length) of the line as collected.
    // The message is a text or what makes it: once the account lists all it may, problems are
    // only counted and their messages never made.
    template <typename Message>
    void add(std::string_view code, Message&& message, std::size_t start = 0, std::size_t length = 0) {
        if (!listing(account_.problems.size())) {
            if (lastUnlistedCount_ != nullptr && code.data() == lastUnlistedCode_.data()) {
                ++*lastUnlistedCount_;  // the same problem as the last one counted, as is usual
            } else {
                countUnlisted(code);
            }
        } else if constexpr (std::is_invocable_v<Message>) {
            place(code, message(), start, length);
        } else {
            place(code, std::string(std::forward<Message>(message)), start, length);
        }
    }
    // A note (提示) where the script departs from the official rules, placed as a problem is.
    template <typename Message>
    void note(std::string_view code, Message&& message, std::size_t start = 0, std::size_t length = 0) {
        if (!listing(account_.notes.size())) {
            ++account_.unlistedNotes;
        } else {
            account_.notes.push_back(placed(code, message(), start, length));
        }
    }
    // About the end of the text (where a NUL ended it), placed on the line the end is on.
    void addAtEnd(std::string_view code, std::string message);
    // About the script as a whole, placed at its first line ahead of every other problem.
    void addAtStart(std::string_view code, std::string message);

private:
    // Whether the current line's next problem (or note) is listed, given how many are.
    bool listing(std::size_t listed) {
        if (number_ < account_.listFrom) return false;
        if (listed < kMaxListedProblems) return true;
        account_.listedUntil = std::min(account_.listedUntil, number_);
        return false;
    }
    void place(std::string_view code, std::string message, std::size_t start, std::size_t length);
    Problem placed(std::string_view code, std::string message, std::size_t start, std::size_t length) const;
    void countUnlisted(std::string_view code);
    std::size_t rawIndex(std::size_t collected) const;
    std::size_t columnAt(std::size_t scriptOffset) const;

    ScriptAccount& account_;
    std::string_view script_;
    const ScriptLine* line_ = nullptr;  // while a line is noted
    // The count of the code last counted past the listed ones: a script that goes wrong past
    // the thousandth problem mostly goes wrong the same way on every line.
    std::string_view lastUnlistedCode_;
    std::size_t* lastUnlistedCount_ = nullptr;
    // Not side by side as in ScriptLine: copied as one, the pair was read back in one piece
    // while its two halves were still being written, which stalls every line.
    std::size_t offset_ = 0;
    LineKind kind_ = LineKind::Comment;
    std::size_t number_ = 1;
};

// What a line did, as its handler reported it.
struct LineOutcome {
    LineKind kind = LineKind::Comment;
    LayerLineOutcome layer;  // a layer line's
    UnitLineOutcome unit;    // a unit line's; its objects' scan is in the object table
    bool reportCut = false;  // the report reached its limit on this line
    // A level or report line: the argument read after the command word, if hex digits were.
    std::optional<HexRead> argument;
};

void NoteLine(const ScriptLine& line, const LineOutcome& outcome, const ObjectTable& objects, const ScoreStore& store,
              ProblemLog& log);

// Notes on a line's objects where they depart from the official scoring rules (rule_notes.cpp);
// the objects' text starts at base in the line.
void NoteRuleDepartures(const ObjectTable& table, std::size_t base, int level, ProblemLog& log);

// After the last line: what the run did not read, a cut closing report, and a script without any
// command.
void NoteScriptEnd(const ScriptText& script, bool sawCommand, bool closingReportCut, ProblemLog& log);

// Checks of how the text reads (text_checks.cpp): comments that look like commands, look-alike
// characters, and words that a dropped TAB glued together.
// What the checks ask of every line's bytes, found in one pass: most lines are ASCII without
// a comma, and then most checks have nothing to look at.
struct LineBytes {
    bool ascii = true;
    bool comma = false;  // an ASCII ","
};
// Inline: called for every line, it costs less than a call to it.
inline LineBytes ScanLineBytes(std::string_view line) {
    std::uint64_t high = 0;
    std::uint64_t commas = 0;
    std::size_t i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        const std::uint64_t eight = bytes::Load(line.data() + i);
        high |= eight;
        commas |= bytes::FirstBytesEqual(eight, ',');
    }
    if (i < line.size() && line.size() >= 8) {  // the last eight bytes again: they overlap, no matter
        const std::uint64_t eight = bytes::Load(line.data() + line.size() - 8);
        high |= eight;
        commas |= bytes::FirstBytesEqual(eight, ',');
    } else {
        for (; i < line.size(); ++i) {
            high |= static_cast<unsigned char>(line[i]);
            commas |= line[i] == ',' ? 1 : 0;
        }
    }
    return {(high & bytes::kHighBits) == 0, commas != 0};
}

void NoteComment(std::string_view line, ProblemLog& log);
void NoteLookalikes(std::string_view line, LineKind kind, LineBytes scanned, ProblemLog& log);
void NoteGluedWords(std::string_view line, std::string_view raw, ProblemLog& log);

}  // namespace quillon
