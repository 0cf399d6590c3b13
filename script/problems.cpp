#include "script/problems.hpp"

#include <algorithm>

#include "scoring/model.hpp"
#include "scoring/text_format.hpp"
#include "scoring/utf8.hpp"
#include "script/arguments.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// "4.2（应用与数据安全_2.访问控制信息完整性）"; the number alone for a unit the layer lacks.
std::string UnitName(int layer, int unit) {
    std::string name = UnitNumber(layer, unit);
    const std::string_view title = UnitTitle(layer, unit);
    return title.empty() ? name : name + "（" + std::string(title) + "）";
}

void NoteArgument(std::string_view line, bool read, std::uint32_t fallback, ProblemLog& log) {
    if (read) return;
    const std::string_view word = ArgumentWord(line);
    if (word.empty()) return;
    log.add(problem::NotHexadecimal, [&] {
        std::string message = "参数“" + std::string(word) + "”不是十六进制数，按默认值 ";
        AppendHex(message, fallback);
        return message + " 处理";
    }, static_cast<std::size_t>(word.data() - line.data()), word.size());
}

void NoteLayerLine(std::string_view line, const LayerLineOutcome& outcome, const ScoreStore& store, ProblemLog& log) {
    if (outcome.result < 0) {
        log.add(problem::LayerDigit, std::string_view("层面指令应写成 @@1～@@8，本行未改变任何得分"), 0,
                std::min(line.find(' '), line.size()));
        return;
    }
    for (int i = 0; i < outcome.units; ++i) {
        const LayerWordOutcome& w = outcome.words[static_cast<unsigned>(i)];
        if (w.effect == LayerWordEffect::Missing || w.effect == LayerWordEffect::Keep) continue;
        const auto word = [&] { return std::string(line.substr(w.start, w.length)); };
        const auto unit = [&] { return UnitName(outcome.layer + 1, i + 1); };
        const auto add = [&](std::string_view code, auto message) { log.add(code, message, w.start, w.length); };
        if (w.cut) {
            add(problem::LayerWordCut, [&] {
                return "单元 " + unit() + " 的词超过 " + std::to_string(kLayerWordMaxBytes) + " 字节，只取前 " +
                       std::to_string(kLayerWordMaxBytes) + " 字节";
            });
        }
        switch (w.effect) {
            case LayerWordEffect::NotApplicable:
                if (w.minusNumber) {
                    add(problem::MinusMeansNotApplicable, [&] { return "“" + word() + "”以减号开头，单元 " + unit() + " 按不适用处理，不是负分"; });
                }
                break;
            case LayerWordEffect::NotAssessed:
                add(problem::LayerUnitNotAssessed, [&] {
                    return std::to_string(store.AssessmentLevel) + "级不评单元 " + unit() + "，得分“" + word() + "”未录入";
                });
                break;
            case LayerWordEffect::NotANumber:
                add(problem::NotANumber, [&] { return "“" + word() + "”不是数字，单元 " + unit() + " 的得分未改变"; });
                break;
            case LayerWordEffect::Stored:
                if (w.range != 0) {
                    add(problem::ScoreOutOfRange, [&] {
                        return "单元 " + unit() + " 的得分 " + word().substr(0, w.numberLength) + (w.range > 0 ? " 大于 1" : " 小于 0");
                    });
                }
                break;
            case LayerWordEffect::Missing:
            case LayerWordEffect::Keep: break;
        }
    }
    if (outcome.extraWords > 0) {
        log.add(problem::ExtraLayerWords, [&] {
            return "第" + std::to_string(outcome.layer + 1) + "层只有 " + std::to_string(outcome.units) + " 个单元，多出的 " +
                   std::to_string(outcome.extraWords) + " 个词被忽略";
        });
    }
}

// The objects' scan, whose text starts at base in the line.
void NoteObjects(const ObjectTable& table, std::size_t base, ProblemLog& log) {
    const auto each = [&](std::uint32_t slots, auto note) {
        for (unsigned slot = 0; slots != 0 && slot < static_cast<unsigned>(kObjectSlots); ++slot) {
            if ((slots & (1u << slot)) == 0) continue;
            const TokenSpan span = table.TokenSpans[slot];
            note([&table, slot] { return std::string(table.TokenText[slot].view()); }, base + span.start, span.length);
        }
    };
    each(table.IgnoredMax, [&](auto token, std::size_t at, std::size_t length) {
        log.add(problem::MaxIgnored, [&] { return "表达式“" + token() + "”不能计算（两个参数须是数字），未计入"; }, at, length);
    });
    if (table.StopSlot >= 0) {
        each(1u << table.StopSlot, [&](auto token, std::size_t at, std::size_t length) {
            log.add(problem::ObjectsCutShort,
                    [&] { return "对象列表在“" + token() + "”处中断：它不是判定、数字或表达式，它和其后的对象都未计入"; }, at, length);
        });
    }
    each(table.CutTokens, [&](auto token, std::size_t at, std::size_t length) {
        log.add(problem::TokenCut, [&] { return "对象“" + token() + "…”超过 63 字节，只取前 63 字节"; }, at, length);
    });
    each(table.UnknownWeights, [&](auto token, std::size_t at, std::size_t length) {
        log.add(problem::UnknownWeight, [&] {
            const std::string text = token();
            return "“" + text.substr(text.find('*')) + "”不是权重 *1.2、*1.5、*0.5、*0.2 之一，不按所写的权重计算";
        }, at, length);
    });
    if (table.TokensBeyondLimit > 0) {
        log.add(problem::TooManyObjects, "一行最多计 16 个对象，其后的 " + std::to_string(table.TokensBeyondLimit) + " 个被忽略");
    }
}

void NoteUnitLine(std::string_view line, const UnitLineOutcome& outcome, const ObjectTable& table, const ScoreStore& store,
                  ProblemLog& log) {
    const auto command = [&] { return std::string(line.substr(0, outcome.commandLength)); };
    const auto unit = [&] { return UnitName(outcome.layer, outcome.unit); };
    const auto add = [&](std::string_view code, auto message) { log.add(code, message, 0, outcome.commandLength); };
    switch (outcome.effect) {
        case UnitLineEffect::Malformed:
            add(problem::MalformedUnitCommand, [&] { return "单元指令应写成 $$层面.单元（如 $$4.2），“" + command() + "”未录入任何得分"; });
            return;
        case UnitLineEffect::OutOfRange:
            add(problem::UnitOutOfRange, [&] { return "“" + command() + "”：层面号和单元号都应为 1～8，本行未录入任何得分"; });
            return;
        case UnitLineEffect::NotAssessed:
            add(problem::UnitNotAssessed, [&] { return std::to_string(store.AssessmentLevel) + "级没有或不评单元 " + unit() + "，得分未录入"; });
            return;
        case UnitLineEffect::Stored: break;
    }
    NoteObjects(table, outcome.commandLength, log);
    NoteRuleDepartures(table, outcome.commandLength, store.AssessmentLevel, log);
    if (table.CountedObjects == 0) {
        add(problem::NoObjectCounted, [&] {
            return "单元 " + unit() + " 没有可计入的对象：得分记为 1307117.3166，第" + std::to_string(outcome.layer) + "层记为 -3.0 并退出总分";
        });
    } else if (outcome.score > 1 || outcome.score < 0) {
        add(problem::ScoreOutOfRange, [&] {
            return "单元 " + unit() + " 的得分 " + Fixed(outcome.score, 0, 4) + (outcome.score > 1 ? " 大于 1" : " 小于 0");
        });
    }
}

// U+FFFD stands where the text was read from bytes that were no character in their encoding:
// what they held is lost. A run of them is one problem.
void NoteReplacementCharacters(std::string_view line, ProblemLog& log) {
    for (std::size_t at = line.find(kReplacementCharacter); at != std::string_view::npos;) {
        std::size_t end = at;
        while (line.substr(end, kReplacementCharacter.size()) == kReplacementCharacter) end += kReplacementCharacter.size();
        const std::size_t count = (end - at) / kReplacementCharacter.size();
        log.add(problem::ReplacementCharacter, [&] {
            return (count == 1 ? std::string("一") : std::to_string(count) + " ") +
                   "个不成字符的字节被读作 U+FFFD（替换字符），原来的内容已丢失";
        }, at, end - at);
        at = line.find(kReplacementCharacter, end);
    }
}

void NoteReportCut(ProblemLog& log) {
    log.add(problem::ReportCut, "报告已达上限 " + std::to_string(kReportCapBytes) + " 字节，在此截断，此后的输出都被丢弃");
}

}  // namespace

void ProblemLog::startLine(const ScriptLine& line, LineKind kind) {
    line_ = &line;
    number_ = line.editorLine;
    offset_ = line.offset;
    kind_ = kind;
}


// The index in the raw line of the collected line's byte: the collected line lacks the raw
// line's control bytes.
std::size_t ProblemLog::rawIndex(std::size_t collected) const {
    const ScriptLine& line = *line_;
    if (line.inPlace) return std::min(collected + line.raw.size() - line.text.size(), line.raw.size());
    std::size_t count = 0;
    for (std::size_t j = 0; j < line.raw.size(); ++j) {
        if (static_cast<unsigned char>(line.raw[j]) < 32) continue;
        if (count++ == collected) return j;
    }
    return line.raw.size();
}

// Columns count characters from the line's own start, from 1.
std::size_t ProblemLog::columnAt(std::size_t scriptOffset) const {
    std::size_t column = 1;
    for (std::size_t i = offset_; i < scriptOffset && i < script_.size(); ++i) column += !IsContinuation(script_[i]);
    return column;
}

Problem ProblemLog::placed(std::string_view code, std::string message, std::size_t start, std::size_t length) const {
    Problem problem{number_, offset_, code, std::move(message), kind_};
    if (line_ == nullptr || length == 0) return problem;
    const auto rawBase = static_cast<std::size_t>(line_->raw.data() - script_.data());
    const std::size_t begin = rawBase + rawIndex(start);
    const std::size_t end = rawBase + rawIndex(start + length - 1) + 1;
    problem.column = columnAt(begin);
    problem.endColumn = columnAt(end);
    problem.wordOffset = begin;
    problem.wordLength = end - begin;
    return problem;
}

void ProblemLog::place(std::string_view code, std::string message, std::size_t start, std::size_t length) {
    account_.add(placed(code, std::move(message), start, length));
}

void ProblemLog::countUnlisted(std::string_view code) {
    if (lastUnlistedCount_ == nullptr || (code.data() != lastUnlistedCode_.data() && code != lastUnlistedCode_)) {
        lastUnlistedCount_ = &account_.unlisted[code];  // map entries stay where they are
        lastUnlistedCode_ = code;
    }
    ++*lastUnlistedCount_;
}

void ProblemLog::addAtEnd(std::string_view code, std::string message) {
    // The last line may end in a line end: then the text's end is on the next line.
    if (const std::size_t ends = detail::EditorLineEnds(script_, offset_, script_.size()); ends > 0) {
        number_ += ends;
        offset_ = script_.size();
        kind_ = LineKind::Comment;
    }
    line_ = nullptr;
    add(code, std::move(message));
}

void ProblemLog::addAtStart(std::string_view code, std::string message) {
    Problem first{1, 0, code, std::move(message), account_.lines.empty() ? LineKind::Comment : account_.lines.front()};
    if (account_.problems.size() == kMaxListedProblems) {
        ++account_.unlisted[account_.problems.back().code];
        account_.problems.pop_back();
    }
    account_.problems.insert(account_.problems.begin(), std::move(first));
}

void NoteLine(const ScriptLine& line, const LineOutcome& outcome, const ObjectTable& objects, const ScoreStore& store,
              ProblemLog& log) {
    log.startLine(line, outcome.kind);
    const std::string_view text = line.text;
    if (line.cut) log.add(problem::LineCut, "本行超过 " + std::to_string(kMaxLineBytes) + " 字节，其后的部分被丢弃");
    const bool ascii = IsAscii(text);
    if (!ascii) NoteReplacementCharacters(text, log);
    if (const std::size_t mark = ascii ? std::string_view::npos : text.find(kByteOrderMark);
        mark != std::string_view::npos) {
        log.add(problem::ByteOrderMarkInside,
                mark == 0 ? "行首有不可见的字节顺序标记（U+FEFF），本行的指令不被识别，是注释"
                          : "本行含不可见的字节顺序标记（U+FEFF），它不分隔词语",
                mark, kByteOrderMark.size());
    }
    switch (outcome.kind) {
        case LineKind::LevelSetUp: NoteArgument(text, outcome.argumentRead, 1, log); break;
        case LineKind::Report: NoteArgument(text, outcome.argumentRead, DefaultReportFlags, log); break;
        case LineKind::LayerLine: NoteLayerLine(text, outcome.layer, store, log); break;
        case LineKind::UnitLine: NoteUnitLine(text, outcome.unit, objects, store, log); break;
        case LineKind::CountForm:
            NoteObjects(objects, 3, log);
            NoteRuleDepartures(objects, 3, store.AssessmentLevel, log);
            break;
        case LineKind::Comment: case LineKind::Echo: break;
    }
    if (outcome.reportCut) NoteReportCut(log);
    if (outcome.kind == LineKind::Comment) NoteComment(text, log);
    NoteLookalikes(text, outcome.kind, ascii, log);
    if (line.droppedControls) NoteGluedWords(text, line.raw, log);
    log.endLine();
}

void NoteScriptEnd(const ScriptText& script, bool sawCommand, bool closingReportCut, ProblemLog& log) {
    if (closingReportCut) NoteReportCut(log);
    if (script.cutAtLimit) log.add(problem::ScriptCut, "脚本超过 " + std::to_string(kMaxScriptBytes) + " 字节，此后的部分未读入");
    if (script.bytesAfterNul > 0) {
        log.addAtEnd(problem::EndsAtNul, "脚本在 NUL 字节处结束，其后的 " + std::to_string(script.bytesAfterNul) + " 字节未读入");
    }
    if (!sawCommand) {
        log.addAtStart(problem::NoCommand, "脚本中没有任何指令（mpinit=、$$、@@、mpout、mpecho）：报告是 3 级默认得分；"
                                           "文件是否为空、是否选错了编码？");
    }
}

}  // namespace quillon
