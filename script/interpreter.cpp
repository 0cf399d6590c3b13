#include "script/interpreter.hpp"

#include <algorithm>
#include <string>

#include "scoring/count_form.hpp"
#include "scoring/level.hpp"
#include "scoring/report.hpp"
#include "scoring/report_text.hpp"
#include "scoring/text_format.hpp"
#include "scoring/utf8.hpp"
#include "script/arguments.hpp"
#include "script/comment_checks.hpp"
#include "script/layer_line.hpp"
#include "script/lines.hpp"
#include "script/unit_line.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

constexpr std::string_view kClosingNotice =
    "没有mpout 命令 最后自动补1个// 对 所有单元得分输出 归并到层面和总分 ";

class Interpreter {
public:
    Interpreter(DiagnosticSink sink, bool keepAccount)
        : diagnostics_(std::move(sink), keepAccount ? &run_.account : nullptr) {}

    ScriptRun run(std::string_view script) {
        InitLevel(store_, "mpinit=3 1", 1, diagnostics_);
        ForEachLine(script, [this, script](std::string_view line, std::size_t number, std::string_view raw,
                                           bool dropped) {
            // Where the line's own bytes start: past a line-end byte taken as its first byte.
            const std::size_t lead = std::min(raw.find_first_not_of("\r\n"), raw.size());
            diagnostics_.setLine(number, static_cast<std::size_t>(raw.data() - script.data()) + lead);
            const LineKind kind = dispatch(line);
            if (diagnostics_.accounting()) account(line, kind, raw, dropped);
        });
        if (mpoutCount_ == 0) {
            report("mpout ", ClosingReportFlags);
            report_.append(kClosingNotice);
        }
        run_.report = report_.release();
        run_.store = store_;
        return std::move(run_);
    }

private:
    LineKind dispatch(std::string_view line) {
        if (StartsWith(line, "mpinit=") && line.size() > 7 && line[7] >= '1' && line[7] <= '4') {
            levelSetUp(line);
            return LineKind::LevelSetUp;
        }
        if (StartsWith(line, "$$ ")) {
            // Shows its objects' score in the report and stores nothing.
            CountFormScore(objects_, line.substr(3), nullptr, &report_, nullptr);
            NoteObjectProblems(objects_, diagnostics_);
            return LineKind::CountForm;
        }
        if (StartsWith(line, "$$")) {
            SetUnitScore(store_, objects_, line, diagnostics_);
            return LineKind::UnitLine;
        }
        if (StartsWith(line, "@@")) {
            deal_CC(store_, line, diagnostics_);
            return LineKind::LayerLine;
        }
        if (StartsWith(line, "mpout")) {
            noteArgument(line, DefaultReportFlags);
            const auto flags = static_cast<std::uint32_t>(
                ReadHexArgument(line, static_cast<std::int32_t>(DefaultReportFlags)));
            report(line, flags);
            ++mpoutCount_;
            return LineKind::Report;
        }
        if (StartsWith(line, "mpec")) {
            report_.append(line);
            report_.append("\r\n");
            return LineKind::Echo;
        }
        return LineKind::Comment;  // every other line
    }

    void report(std::string_view line, std::uint32_t flags) {
        WriteScoreReport(store_, line, report_, flags, diagnostics_);
        if (diagnostics_.accounting()) run_.lastReport = store_;
    }

    void account(std::string_view line, LineKind kind, std::string_view raw, bool dropped) {
        run_.account.lines.push_back(kind);
        if (kind == LineKind::Comment) NoteComment(line, diagnostics_);
        if (dropped) NoteGluedWords(line, raw, diagnostics_);
    }

    void noteArgument(std::string_view line, std::uint32_t fallback) const {
        if (!diagnostics_.accounting()) return;
        const std::string_view word = ArgumentWord(line);
        if (word.empty() || ParseHexArgument(line)) return;
        std::string message = "参数“" + std::string(word) + "”不是十六进制数，按默认值 ";
        AppendHex(message, fallback);
        diagnostics_.problem(problem::NotHexadecimal, message + " 处理");
    }

    void levelSetUp(std::string_view line) {
        noteArgument(line, 1);
        const std::int32_t x = ReadHexArgument(line, 1);
        InitLevel(store_, line, x, diagnostics_);
        std::string confirmation = "mpinit=";
        AppendInt(confirmation, store_.AssessmentLevel);
        confirmation += ' ';
        AppendHex(confirmation, static_cast<std::uint32_t>(x));
        confirmation += " 处理完毕\r\n";
        report_.append(confirmation);
    }

    ScriptRun run_;
    Diagnostics diagnostics_;
    ScoreStore store_;
    ObjectTable objects_;
    ReportText report_;
    long mpoutCount_ = 0;
};

// The text the interpreter works on: up to the first NUL, at most kMaxScriptBytes, valid UTF-8.
std::string_view ScriptText(std::string_view script, std::string& repaired) {
    script = script.substr(0, script.find('\0'));
    script = script.substr(0, Utf8PrefixLength(script, kMaxScriptBytes));
    if (IsValidUtf8(script)) return script;
    repaired = RepairUtf8(script);
    return std::string_view(repaired).substr(0, Utf8PrefixLength(repaired, kMaxScriptBytes));
}

}  // namespace

ScriptRun InterpretScript(std::string_view script, DiagnosticSink sink, bool keepAccount) {
    std::string repaired;
    return Interpreter(std::move(sink), keepAccount).run(ScriptText(script, repaired));
}

std::string ScoreScript(std::string_view script, DiagnosticSink sink) {
    return InterpretScript(script, std::move(sink)).report;
}

}  // namespace quillon
