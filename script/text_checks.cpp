#include "script/problems.hpp"

#include <array>
#include <cstdint>
#include <string_view>
#include <string>
#include <vector>

#include "script/commands.hpp"
#include "text/utf8.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// A command spelt in letters, which a wrong case can miss; "$$" and "@@" have none.
bool IsKeyword(std::string_view word) { return word[0] >= 'a' && word[0] <= 'z'; }

std::string FirstWord(std::string_view text) { return std::string(WordCursor(text).next()); }

// U+FF01 to U+FF5E are ASCII's full-width forms; "。" is often typed for ".".
constexpr std::string_view kIdeographicFullStop = "\xE3\x80\x82";
constexpr std::array<std::string_view, 3> kSpaceLike = {"\xE3\x80\x80", "\xC2\xA0", "\xE2\x80\x8B"};
constexpr std::array<std::string_view, 2> kCommas = {",", "\xE3\x80\x81"};  // "、"

bool HasFullWidthForm(std::string_view text) {
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(text[i]), b1 = static_cast<unsigned char>(text[i + 1]),
                   b2 = static_cast<unsigned char>(text[i + 2]);
        if (b0 == 0xEF && ((b1 == 0xBC && b2 >= 0x81) || (b1 == 0xBD && b2 <= 0x9E))) return true;
    }
    return text.find(kIdeographicFullStop) != std::string_view::npos;
}

// The text as it was meant: full-width forms as ASCII, "。" as ".", space-like characters as blanks.
std::string Folded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        if (b0 == 0xEF && i + 2 < text.size()) {
            const unsigned code = (static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6 |
                                  (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
            const unsigned cp = 0xF000u | code;
            if (cp >= 0xFF01 && cp <= 0xFF5E) {
                out += static_cast<char>(cp - 0xFEE0);
                i += 2;
                continue;
            }
        }
        if (text.substr(i, 3) == kIdeographicFullStop) {
            out += '.';
            i += 2;
            continue;
        }
        bool space = false;
        for (const std::string_view s : kSpaceLike) {
            if (text.substr(i, s.size()) == s) {
                out += ' ';
                i += s.size() - 1;
                space = true;
                break;
            }
        }
        if (!space) out += text[i];
    }
    return out;
}

// Whether Folded can change the text: each form it folds starts with one of these bytes.
bool MayFold(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == 0xEF || b == 0xC2 || b == 0xE2 || (b == 0xE3 && i + 1 < text.size() && text[i + 1] == '\x80')) return true;
    }
    return false;
}

bool ContainsAny(std::string_view text, const auto& parts) {
    for (const std::string_view part : parts) {
        if (text.find(part) != std::string_view::npos) return true;
    }
    return false;
}

bool TakesWords(LineKind kind) {
    return kind == LineKind::LayerLine || kind == LineKind::UnitLine || kind == LineKind::CountForm;
}

}  // namespace

// An ASCII line can mislead only with a comma.
void NoteLookalikes(std::string_view line, LineKind kind, LineBytes scanned, ProblemLog& log) {
    const bool ascii = scanned.ascii;
    if (kind == LineKind::Echo) return;  // echoed as written
    if (kind == LineKind::Comment) {
        if (ascii) return;
        // A comment that would be a command, had it been typed in ASCII: its start decides.
        const std::string_view head = line.substr(0, 48);
        if (!MayFold(head)) return;
        const std::string folded = Folded(head);
        const std::size_t start = folded.find_first_not_of(' ');
        if (folded == head || start == std::string::npos) return;
        if (const Command* found = CommandWordOf(std::string_view(folded).substr(start))) {
            const std::string_view command = found->word;
            if (HasFullWidthForm(line.substr(0, line.find(' ')))) {
                log.add(problem::FullWidth, "“" + FirstWord(line) + "”含全角字符，不被当作指令“" + std::string(command) +
                                                "”，本行是注释",
                        0, FirstWord(line).size());
            } else {
                log.add(problem::SpaceLike,
                        "指令前有全角空格、不换行空格或零宽空格，“" + std::string(command) + "”不被识别，本行是注释");
            }
        }
        return;
    }
    // A report or level line reads its command word and one argument; the rest is a remark.
    std::string_view read = line;
    if (!TakesWords(kind)) {
        WordCursor firstTwo(line);
        firstTwo.next();
        firstTwo.next();
        read = line.substr(0, line.size() - firstTwo.rest().size());
    }
    WordCursor words(ascii ? std::string_view() : read);
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
        if (HasFullWidthForm(word)) {
            log.add(problem::FullWidth, "“" + std::string(word) + "”含全角字符（应为“" + Folded(word) + "”），不被当作数字、判定或指令",
                    static_cast<std::size_t>(word.data() - line.data()), word.size());
            break;
        }
    }
    if (!ascii && ContainsAny(read, kSpaceLike)) {
        log.add(problem::SpaceLike, "本行含全角空格、不换行空格或零宽空格：它们不分隔词语，只有半角空格分隔");
    }
    if (!TakesWords(kind) || (ascii && !scanned.comma)) return;
    // The first word after the command word that holds a comma or "、"; the commas of a max(
    // expression are its own.
    constexpr auto npos = std::string_view::npos;
    const auto nextComma = [&](std::size_t from) {
        return std::min(line.find(',', from), ascii ? npos : line.find(kCommas[1], from));
    };
    std::size_t comma = nextComma(0);
    if (const std::size_t commandEnd = std::min(line.find(' '), line.size()); comma < commandEnd) comma = nextComma(commandEnd);
    while (comma != npos) {
        const std::size_t start = line.rfind(' ', comma) + 1;  // the command word ends at a blank before
        const std::size_t end = std::min(line.find(' ', comma), line.size());
        const std::string_view word = line.substr(start, end - start);
        if (!StartsWith(word, "max(") && !StartsWith(word, "MAX(")) {
            log.add(problem::CommaBetweenWords,
                    [&] { return "“" + std::string(word) + "”：逗号和顿号不分隔词语，只有空格分隔，它被当作一个词"; }, start,
                    word.size());
            return;
        }
        comma = nextComma(end);
    }
}

void NoteComment(std::string_view line, ProblemLog& log) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) return;
    const std::string_view rest = line.substr(start);
    if (start > 0) {
        for (const Command& command : kCommands) {
            if (StartsWithIgnoringCase(rest, command.word)) {
                log.add(problem::CommandAfterBlank, [&] { return "行首有空格，“" + FirstWord(rest) + "”不被当作指令，本行是注释"; },
                        start, WordCursor(rest).next().size());
                return;
            }
        }
        return;
    }
    const Command* word = CommandWordOf(line);
    if (word != nullptr && word->after == AfterWord::LevelDigit) {  // mpinit=9: no level, a comment
        log.add(problem::LevelDigit, [&] { return "密评级别应为 1～4，“" + FirstWord(line) + "”不起作用，本行是注释"; }, 0,
                WordCursor(line).next().size());
        return;
    }
    for (const Command& command : kCommands) {
        if (IsKeyword(command.word) && StartsWithIgnoringCase(line, command.word)) {
            log.add(problem::CommandWrongCase, [&] { return "指令区分大小写，“" + FirstWord(line) + "”不被当作指令，本行是注释"; }, 0,
                    WordCursor(line).next().size());
            return;
        }
    }
}

void NoteGluedWords(std::string_view line, std::string_view raw, ProblemLog& log) {
    // The raw line's words, had its control bytes separated words as blanks do.
    std::size_t pos = 0;
    const auto nextRawWord = [&] {
        const auto separates = [&](std::size_t i) { return static_cast<unsigned char>(raw[i]) <= ' '; };
        while (pos < raw.size() && separates(pos)) ++pos;
        const std::size_t start = pos;
        while (pos + 8 <= raw.size()) {  // eight bytes at a time to the next blank or control byte
            const unsigned inWord = bytes::FirstByteBelow(bytes::Load(raw.data() + pos), ' ' + 1);
            pos += inWord;
            if (inWord < 8) break;
        }
        while (pos < raw.size() && !separates(pos)) ++pos;
        return raw.substr(start, pos - start);
    };
    WordCursor words(line);
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
        if (nextRawWord() != word) {
            log.add(problem::GluedByControlBytes,
                    [&] { return "TAB 等控制字符被删除，不分隔词语：相邻的词连成了“" + std::string(word) + "”"; },
                    static_cast<std::size_t>(word.data() - line.data()), word.size());
            return;
        }
    }
}

}  // namespace quillon
