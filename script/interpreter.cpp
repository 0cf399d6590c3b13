#include "script/interpreter.hpp"

#include <string>

#include "scoring/count_form.hpp"
#include "scoring/level.hpp"
#include "scoring/report.hpp"
#include "scoring/report_memo.hpp"
#include "scoring/report_text.hpp"
#include "scoring/text_format.hpp"
#include "text/gbk_width.hpp"
#include "text/utf8.hpp"
#include "script/arguments.hpp"
#include "script/commands.hpp"
#include "script/problems.hpp"
#include "script/layer_line.hpp"
#include "script/lines.hpp"
#include "script/unit_line.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

constexpr std::string_view kClosingNotice =
    "没有mpout 命令 最后自动补1个// 对 所有单元得分输出 归并到层面和总分 ";
// Ahead of the report of a line that names its level (mpout3).
constexpr std::string_view kForcedLevelNotice = "特别提示：mpout 被强行指定密评级别喽\r\n";

class Interpreter {
public:
    Interpreter(DiagnosticSink sink, bool keepAccount, std::size_t listFrom)
        : trace_(std::move(sink)), keepAccount_(keepAccount) {
        run_.account.listFrom = listFrom;
    }

    ScriptRun run(const ScriptText& script) {
        ProblemLog log(run_.account, script.text);
        InitLevel(store_, kResetLevel, kLevelSetUpDefault, trace_);
        bool sawCommand = false;
        if (keepAccount_) run_.account.reserveLines(script.text.size());
        ForEachLine(script.text, [&](const ScriptLine& line) {
            const bool wasTruncated = report_.truncated();
            LineOutcome& outcome = dispatch(line.text);
            if (!keepAccount_) return;
            outcome.reportCut = report_.truncated() && !wasTruncated;
            sawCommand |= outcome.kind != LineKind::Comment;
            keepRecord(line, outcome);
            NoteLine(line, outcome, objects_, store_, log);
        });
        bool closingReportCut = false;
        if (mpoutCount_ == 0) {
            const bool wasTruncated = report_.truncated();
            report(0, ClosingReportFlags);
            report_.append(kClosingNotice);
            closingReportCut = report_.truncated() && !wasTruncated;
        }
        beforeModelChange();
        if (keepAccount_) NoteScriptEnd(script, sawCommand, closingReportCut, log);
        run_.reportTruncated = report_.truncated();
        run_.report = report_.release();
        run_.store = store_;
        return std::move(run_);
    }

private:
    // Fills the outcome of the line; only the kind's own part is meaningful.
    LineOutcome& dispatch(std::string_view line) {
        LineOutcome& outcome = outcome_;
        const Command* command = CommandOf(line);
        outcome.kind = command != nullptr ? command->kind : LineKind::Comment;
        switch (outcome.kind) {
            case LineKind::LevelSetUp: {
                beforeModelChange();
                const CommandArguments arguments = ReadArguments(*command, line);
                outcome.argument = arguments.read;
                levelSetUp(arguments);
                break;
            }
            case LineKind::CountForm:
                // Shows its objects' score in the report and stores nothing; a report past its
                // limit takes nothing more, so the line is not formatted then.
                CountFormScore(objects_, line.substr(command->word.size() + 1), nullptr,
                               report_.truncated() ? nullptr : &report_, nullptr);
                break;
            case LineKind::UnitLine:
                beforeModelChange();
                outcome.unit = SetUnitScore(store_, objects_, line, trace_);
                break;
            case LineKind::LayerLine:
                beforeModelChange();
                deal_CC(store_, line, trace_, outcome.layer);
                break;
            case LineKind::Report: {
                const CommandArguments arguments = ReadArguments(*command, line);
                outcome.argument = arguments.read;
                report(arguments.level, arguments.value);
                ++mpoutCount_;
                break;
            }
            case LineKind::Echo:
                report_.append(line);
                report_.append("\r\n");
                break;
            case LineKind::Comment: break;  // every other line
        }
        return outcome;
    }

    // The record of what the line did, on the row an editor shows it on.
    void keepRecord(const ScriptLine& line, const LineOutcome& outcome) {
        auto& lines = run_.account.lines;
        if (lines.size() + 1 < line.editorLine) {  // blank rows that began this line
            const std::uint8_t level = lines.empty() ? static_cast<std::uint8_t>(kResetLevel) : lines.back().level;
            lines.resize(line.editorLine - 1, LineRecord{LineKind::Comment, level, 0, 0});
        }
        LineRecord record{outcome.kind, static_cast<std::uint8_t>(store_.AssessmentLevel), 0, 0};
        if (outcome.kind == LineKind::UnitLine &&
            (outcome.unit.effect == UnitLineEffect::Stored || outcome.unit.effect == UnitLineEffect::NotAssessed)) {
            record.layer = static_cast<std::uint8_t>(outcome.unit.layer);
            record.unit = static_cast<std::uint8_t>(outcome.unit.unit);
        } else if (outcome.kind == LineKind::LayerLine && outcome.layer.result >= 0) {
            record.layer = static_cast<std::uint8_t>(outcome.layer.layer + 1);
        }
        lines.push_back(record);
    }

    // forcedLevel: the level a report line names, 0 for none.
    void report(int forcedLevel, std::uint32_t flags) {
        if (forcedLevel != 0) report_.append(kForcedLevelNotice);
        reportMemo_.write(store_, forcedLevel, report_, flags, trace_, !modelChanged_);
        lastFlags_ = flags;
        modelChanged_ = false;
        reportPending_ = keepAccount_;
    }

    // Called before every line that may change the model. The model as the last report left it
    // is copied only then: a report that another report follows needs no copy.
    void beforeModelChange() {
        modelChanged_ = true;
        if (!reportPending_) return;
        run_.lastReport = store_;
        run_.lastReportFlags = lastFlags_;
        reportPending_ = false;
    }

    void levelSetUp(const CommandArguments& arguments) {
        const auto x = static_cast<std::int32_t>(arguments.value);
        InitLevel(store_, arguments.level, x, trace_);
        if (report_.truncated()) return;
        std::string confirmation = "mpinit=";
        AppendInt(confirmation, store_.AssessmentLevel);
        confirmation += ' ';
        AppendHex(confirmation, static_cast<std::uint32_t>(x));
        confirmation += " 处理完毕\r\n";
        report_.append(confirmation);
    }

    ScriptRun run_;
    LineOutcome outcome_;  // of the current line, reused: most lines fill little of it
    Diagnostics trace_;
    bool keepAccount_;
    ScoreStore store_;
    ObjectTable objects_;
    ReportText report_;
    ReportMemo reportMemo_;
    long mpoutCount_ = 0;
    std::uint32_t lastFlags_ = 0;
    bool reportPending_ = false;  // the store is as the last report left it, not yet copied
    bool modelChanged_ = true;    // a line may have changed the store since the last report
};

}  // namespace

// The text the interpreter works on: up to the first NUL, valid UTF-8, at most kMaxScriptBytes.
ScriptText::ScriptText(std::string_view script) {
    const std::size_t nul = script.find('\0');
    if (nul != std::string_view::npos) {
        bytesAfterNul = script.size() - nul - 1;
        script = script.substr(0, nul);
    }
    if (!IsValidUtf8(script)) {
        repaired_ = RepairUtf8(script);
        script = repaired_;
    }
    const std::size_t kept = GbkPrefixLength(script, kMaxScriptBytes);
    cutAtLimit = kept < script.size();
    text = script.substr(0, kept);
}

ScriptText::ScriptText(std::string_view script, std::size_t fileBytesAfterNul) : ScriptText(script) {
    bytesAfterNul = fileBytesAfterNul;
}

ScriptRun InterpretScript(std::string_view script, DiagnosticSink sink, bool keepAccount, std::size_t listFrom) {
    return InterpretScript(ScriptText(script), std::move(sink), keepAccount, listFrom);
}

ScriptRun InterpretScript(const ScriptText& script, DiagnosticSink sink, bool keepAccount, std::size_t listFrom) {
    return Interpreter(std::move(sink), keepAccount, listFrom).run(script);
}

std::string ScoreScript(std::string_view script, DiagnosticSink sink) {
    return InterpretScript(script, std::move(sink)).report;
}

}  // namespace quillon
