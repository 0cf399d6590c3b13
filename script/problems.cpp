#include "script/problems.hpp"

#include <algorithm>

#include "scoring/limits.hpp"
#include "scoring/model.hpp"
#include "scoring/text_format.hpp"
#include "text/utf8.hpp"
#include "script/arguments.hpp"
#include "script/commands.hpp"
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

std::string Quoted(std::string_view text) { return "“" + std::string(text) + "”"; }

void NoteArgument(std::string_view line, const std::optional<HexRead>& read, std::uint32_t fallback, ProblemLog& log) {
    const std::string_view word = ArgumentWord(line);
    if (word.empty() || (read && read->length == word.size())) return;
    const auto at = static_cast<std::size_t>(word.data() - line.data());
    if (read) {
        log.add(problem::ArgumentReadInPart, [&] {
            return "参数" + Quoted(word) + "只读取了开头的十六进制数" + Quoted(word.substr(0, read->length)) + "，其后的" +
                   Quoted(word.substr(read->length)) + "被忽略";
        }, at, word.size());
        return;
    }
    log.add(problem::NotHexadecimal, [&] {
        std::string message = "参数“" + std::string(word) + "”不是十六进制数，按默认值 ";
        AppendHex(message, fallback);
        return message + " 处理";
    }, at, word.size());
}

// A layer word of which only the start decided: a number before other text, or a mark byte.
void NoteLayerWordReadInPart(std::string_view word, const LayerWordOutcome& w, const auto& unit, ProblemLog& log) {
    log.add(problem::LayerWordReadInPart, [&] {
        if (w.effect == LayerWordEffect::Stored) {
            return "单元 " + unit() + " 的得分" + Quoted(word) + "只读取了开头的数字" + Quoted(word.substr(0, w.numberLength)) +
                   "，其后的" + Quoted(word.substr(w.numberLength)) + "被忽略";
        }
        return Quoted(word) + "以" + Quoted(word.substr(0, 1)) + "开头，单元 " + unit() +
               (w.effect == LayerWordEffect::Keep ? " 保留原得分" : " 按不适用处理") + "，其后的" + Quoted(word.substr(1)) +
               "被忽略";
    }, static_cast<std::size_t>(w.start), w.length);
}

void NoteLayerLine(std::string_view line, const LayerLineOutcome& outcome, const ScoreStore& store, ProblemLog& log) {
    if (outcome.result < 0) {
        log.add(problem::LayerDigit, std::string_view("层面指令应写成 @@1～@@8，本行未改变任何得分"), 0,
                std::min(line.find(' '), line.size()));
        return;
    }
    for (int i = 0; i < outcome.units; ++i) {
        const LayerWordOutcome& w = outcome.words[static_cast<unsigned>(i)];
        if (w.effect == LayerWordEffect::Missing) break;  // the line's words ended here
        const auto word = [&] { return std::string(line.substr(w.start, w.length)); };
        const auto unit = [&] { return UnitName(outcome.layer + 1, i + 1); };
        const auto add = [&](std::string_view code, auto message) { log.add(code, message, w.start, w.length); };
        if (w.cut) {
            add(problem::LayerWordCut, [&] {
                return "单元 " + unit() + " 的词超过 " + std::to_string(kLayerWordMaxBytes) + " 字节，只取前 " +
                       std::to_string(kLayerWordMaxBytes) + " 字节";
            });
        }
        if (w.partlyRead) NoteLayerWordReadInPart(line.substr(w.start, w.length), w, unit, log);
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

// The first "*" suffix of a token that is none of the weights as meant, and what it reads as.
void NoteUnknownWeight(std::string_view token, std::size_t at, std::size_t length, ProblemLog& log) {
    for (std::size_t star = token.find('*'); star != std::string_view::npos; star = token.find('*', star + 1)) {
        const std::string_view suffix = token.substr(star + 1, token.find('*', star + 1) - star - 1);
        if (IsWeightSuffix(suffix)) continue;
        log.add(problem::UnknownWeight, [&] {
            const std::string_view weight = WeightReadAs(suffix);
            std::string message = Quoted(token.substr(star, suffix.size() + 1));
            message += "不是权重 *1.2、*1.5、*0.5、*0.2 之一，";
            if (weight.empty()) return message + "不起作用";
            message += "读作“*";
            message += weight;
            return message + "”";
        }, at, length);
        return;
    }
}

// A counted or not-applicable token of which the scan read only a part.
void NotePartRead(std::string_view token, const TokenPart& part, std::size_t at, std::size_t length, ProblemLog& log) {
    const std::string_view read = token.substr(part.start, part.length);
    const std::string_view word = token.substr(part.wordStart, part.wordEnd - part.wordStart);
    const auto add = [&](std::string_view code, auto message) { log.add(code, message, at, length); };
    switch (part.kind) {
        case PartRead::Code:
            add(problem::ObjectReadInPart, [&] {
                if (read == "---") return Quoted(token) + "含“---”，整个对象按不适用处理，不计入";
                return Quoted(token) + "不是单个判定，按其中的" + Quoted(read) + "计分";
            });
            break;
        case PartRead::MaxRest:
            add(problem::ObjectReadInPart, [&] {
                return "表达式" + Quoted(token) + "只计算前两个参数，其后的" + Quoted(read) + "被忽略";
            });
            break;
        case PartRead::Number:
            add(problem::NumberReadInPart, [&] {
                return Quoted(word) + "只读取了开头的数字" + Quoted(read) + "，其后的" + Quoted(word.substr(read.size())) +
                       "被忽略";
            });
            break;
        case PartRead::MaxArgument:
            add(problem::NumberReadInPart, [&] {
                return "表达式" + Quoted(token) + "的参数" + Quoted(word) +
                       (read.empty() ? std::string("不是数字，不参与比较") : "只读取了开头的数字" + Quoted(read));
            });
            break;
        case PartRead::Whole: break;
    }
}

// The objects' scan, whose text starts at base in the line: token by token, each quoted as
// written.
void NoteObjects(std::string_view line, const ObjectTable& table, std::size_t base, ProblemLog& log) {
    const std::uint32_t noted = table.IgnoredMax | table.CutTokens | table.UnknownWeights | table.PartlyRead |
                                (table.StopSlot >= 0 ? 1u << table.StopSlot : 0u);
    for (unsigned slot = 0; noted >> slot != 0 && slot < static_cast<unsigned>(kObjectSlots); ++slot) {
        const std::uint32_t bit = 1u << slot;
        if ((noted & bit) == 0) continue;
        const TokenSpan span = table.TokenSpans[slot];
        const std::size_t at = base + span.start;
        // The bytes the scan kept, as they stand in the line.
        const std::string_view token = line.substr(at, table.TokenText[slot].size);
        const auto add = [&](std::string_view code, auto message) { log.add(code, message, at, span.length); };
        if (table.IgnoredMax & bit) {
            add(problem::MaxIgnored, [&] { return "表达式" + Quoted(token) + "不能计算（两个参数须是数字），未计入"; });
        }
        if (static_cast<int>(slot) == table.StopSlot) {
            add(problem::ObjectsCutShort, [&] {
                return "对象列表在" + Quoted(token) +
                       (table.StopAtNumber ? "处中断：得分低于 " + Fixed(kObjectScoreFloor, 0, 1) + " 的数字结束对象列表"
                                           : "处中断：它不是判定、数字或表达式") +
                       "，它和其后的对象都未计入";
            });
        }
        if (table.CutTokens & bit) {
            add(problem::TokenCut, [&] {
                const std::string limit = std::to_string(kMaxTokenBytes);
                return "对象“" + std::string(token) + "…”超过 " + limit + " 字节，只取前 " + limit + " 字节";
            });
        }
        if (table.UnknownWeights & bit) NoteUnknownWeight(token, at, span.length, log);
        if (table.PartlyRead & bit) NotePartRead(token, table.ReadParts[slot], at, span.length, log);
    }
    if (table.TokensBeyondLimit > 0) {
        log.add(problem::TooManyObjects, "一行最多计 " + std::to_string(kMaxObjectTokens) + " 个对象，其后的 " + std::to_string(table.TokensBeyondLimit) + " 个被忽略");
    }
}

void NoteUnitLine(std::string_view line, const UnitLineOutcome& outcome, const ObjectTable& table, const ScoreStore& store,
                  ProblemLog& log) {
    const auto command = [&] { return std::string(line.substr(0, outcome.commandLength)); };
    const auto unit = [&] { return UnitName(outcome.layer, outcome.unit); };
    const auto add = [&](std::string_view code, auto message) { log.add(code, message, 0, outcome.commandLength); };
    if ((outcome.effect == UnitLineEffect::Stored || outcome.effect == UnitLineEffect::NotAssessed) &&
        outcome.addressLength < outcome.commandLength) {
        add(problem::UnitCommandReadInPart, [&] {
            return "“" + command() + "”按单元 " + UnitNumber(outcome.layer, outcome.unit) + " 读取，其后的“" +
                   command().substr(outcome.addressLength) + "”被忽略（命令和对象之间须有空格）";
        });
    }
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
    NoteObjects(line, table, outcome.commandLength, log);
    NoteRuleDepartures(table, outcome.commandLength, store.AssessmentLevel, log);
    if (table.CountedObjects == 0) {
        add(problem::NoObjectCounted, [&] {
            return "单元 " + unit() + " 没有可计入的对象：得分记为 " + Fixed(NoObjectScore, 0, 4) + "，第" + std::to_string(outcome.layer) +
                   "层记为 " + Fixed(NoObjectLayerMark, 0, 1) + " 并退出总分";
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

void NoteReportCut(ProblemLog& log) { log.add(problem::ReportCut, [] { return ReportCutMessage(); }); }

}  // namespace

std::string ReportCutMessage() {
    return "报告已达上限 " + std::to_string(kReportCapBytes) + " 字节，在此截断，此后的输出都被丢弃";
}

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
    if (account_.listFrom > 1) {
        ++account_.unlisted[code];
        return;
    }
    Problem first{1, 0, code, std::move(message), account_.lines.empty() ? LineKind::Comment : account_.lines.front().kind};
    if (account_.problems.size() == kMaxListedProblems) {
        account_.listedUntil = std::min(account_.listedUntil, account_.problems.back().line);
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
    const LineBytes scanned = ScanLineBytes(text);
    const bool ascii = scanned.ascii;
    if (!ascii) NoteReplacementCharacters(text, log);
    if (const std::size_t mark = ascii ? std::string_view::npos : text.find(kByteOrderMark);
        mark != std::string_view::npos) {
        log.add(problem::ByteOrderMarkInside,
                mark == 0 ? "行首有不可见的字节顺序标记（U+FEFF），本行的指令不被识别，是注释"
                          : "本行含不可见的字节顺序标记（U+FEFF），它不分隔词语",
                mark, kByteOrderMark.size());
    }
    switch (outcome.kind) {
        case LineKind::LevelSetUp: NoteArgument(text, outcome.argument, kLevelSetUpDefault, log); break;
        case LineKind::Report: NoteArgument(text, outcome.argument, DefaultReportFlags, log); break;
        case LineKind::LayerLine: NoteLayerLine(text, outcome.layer, store, log); break;
        case LineKind::UnitLine: NoteUnitLine(text, outcome.unit, objects, store, log); break;
        case LineKind::CountForm:
            NoteObjects(text, objects, 3, log);
            NoteRuleDepartures(objects, 3, store.AssessmentLevel, log);
            break;
        case LineKind::Comment: case LineKind::Echo: break;
    }
    if (outcome.reportCut) NoteReportCut(log);
    if (outcome.kind == LineKind::Comment) NoteComment(text, log);
    // An ASCII line without a comma has nothing that looks like what it is not.
    if (!ascii || scanned.comma) NoteLookalikes(text, outcome.kind, scanned, log);
    if (line.droppedControls) NoteGluedWords(text, line.raw, log);
    log.endLine();
}

void NoteScriptEnd(const ScriptText& script, bool sawCommand, bool closingReportCut, ProblemLog& log) {
    // The closing report follows no line of the script: it is the whole script's.
    if (closingReportCut) {
        log.addAtStart(problem::ReportCut, "脚本没有 mpout 命令，结尾自动补出的报告达到上限 " + std::to_string(kReportCapBytes) +
                                               " 字节被截断，其后的输出和结尾说明都被丢弃");
    }
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
