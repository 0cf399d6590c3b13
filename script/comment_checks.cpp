#include "script/comment_checks.hpp"

#include <array>
#include <string>
#include <vector>

#include "script/words.hpp"

namespace quillon {
namespace {

constexpr std::array<std::string_view, 5> kCommandWords = {"mpinit=", "mpout", "mpec", "$$", "@@"};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string FirstWord(std::string_view text) { return std::string(WordCursor(text).next()); }

}  // namespace

void NoteComment(std::string_view line, const Diagnostics& diagnostics) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) return;
    const std::string_view rest = line.substr(start);
    if (start > 0) {
        for (const std::string_view command : kCommandWords) {
            if (StartsWithIgnoringCase(rest, command)) {
                diagnostics.problem(problem::CommandAfterBlank,
                                    "行首有空格，“" + FirstWord(rest) + "”不被当作指令，本行是注释");
                return;
            }
        }
        return;
    }
    if (StartsWith(line, "mpinit=")) {
        diagnostics.problem(problem::LevelDigit, "密评级别应为 1～4，“" + FirstWord(line) + "”不起作用，本行是注释");
        return;
    }
    for (const std::string_view command : {std::string_view("mpinit="), std::string_view("mpout"), std::string_view("mpec")}) {
        if (StartsWithIgnoringCase(line, command)) {
            diagnostics.problem(problem::CommandWrongCase,
                                "指令区分大小写，“" + FirstWord(line) + "”不被当作指令，本行是注释");
            return;
        }
    }
}

void NoteGluedWords(std::string_view line, std::string_view raw, const Diagnostics& diagnostics) {
    // The raw line's words, had its control bytes separated words as blanks do.
    std::string separated(raw);
    for (char& c : separated) {
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    WordCursor rawWords(separated);
    WordCursor words(line);
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
        if (rawWords.next() != word) {
            diagnostics.problem(problem::GluedByControlBytes,
                                "TAB 等控制字符被删除，不分隔词语：相邻的词连成了“" + std::string(word) + "”");
            return;
        }
    }
}

}  // namespace quillon
