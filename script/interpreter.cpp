#include "script/interpreter.hpp"

#include <algorithm>
#include <string>

#include "scoring/count_form.hpp"
#include "scoring/level.hpp"
#include "scoring/report.hpp"
#include "scoring/report_text.hpp"
#include "scoring/text_format.hpp"
#include "scoring/gbk_width.hpp"
#include "scoring/utf8.hpp"
#include "script/arguments.hpp"
#include "script/comment_checks.hpp"
#include "script/layer_line.hpp"
#include "script/lines.hpp"
#include "script/unit_line.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::string_view kClosingNotice =
    "没有mpout 命令 最后自动补1个// 对 所有单元得分输出 归并到层面和总分 ";

class Interpreter {
public:
    Interpreter(DiagnosticSink sink, bool keepAccount)
        : diagnostics_(std::move(sink), keepAccount ? &run_.account : nullptr) {}

    ScriptRun run(const ScriptText& script) {
        InitLevel(store_, "mpinit=3 1", 1, diagnostics_);
        std::size_t lastLine = 1, lastOffset = 0;
        ForEachLine(script.text, [&](const ScriptLine& line) {
            diagnostics_.setLine(line.editorLine, line.offset);
            lastLine = line.editorLine;
            lastOffset = line.offset;
            const std::size_t before = run_.account.problems.size();
            const bool wasTruncated = report_.truncated();
            if (diagnostics_.accounting()) noteText(line);
            const LineKind kind = dispatch(line.text);
            if (diagnostics_.accounting()) {
                account(line, kind);
                if (report_.truncated() && !wasTruncated) noteReportCut();
                for (std::size_t i = before; i < run_.account.problems.size(); ++i) run_.account.problems[i].takenAs = kind;
            }
        });
        if (diagnostics_.accounting()) noteScriptEnd(script, lastLine, lastOffset);
        if (mpoutCount_ == 0) {
            const bool wasTruncated = report_.truncated();
            report("mpout ", ClosingReportFlags);
            report_.append(kClosingNotice);
            if (diagnostics_.accounting() && report_.truncated() && !wasTruncated) noteReportCut();
        }
        run_.reportTruncated = report_.truncated();
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
            // A report past its limit takes nothing more: the line is not formatted then.
            CountFormScore(objects_, line.substr(3), nullptr, report_.truncated() ? nullptr : &report_, nullptr);
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

    void account(const ScriptLine& line, LineKind kind) {
        run_.account.lines.push_back(kind);
        if (kind == LineKind::Comment) NoteComment(line.text, diagnostics_);
        NoteLookalikes(line.text, kind, diagnostics_);
        if (kind != LineKind::Comment) sawCommand_ = true;
        if (line.droppedControls) NoteGluedWords(line.text, line.raw, diagnostics_);
    }

    void noteText(const ScriptLine& line) const {
        if (line.cut) {
            diagnostics_.problem(problem::LineCut, "本行超过 " + std::to_string(kMaxLineBytes) +
                                                       " 字节，其后的部分被丢弃");
        }
        if (line.text.find(kByteOrderMark) != std::string_view::npos) {
            diagnostics_.problem(problem::ByteOrderMarkInside,
                                 StartsWith(line.text, kByteOrderMark)
                                     ? "行首有不可见的字节顺序标记（U+FEFF），本行的指令不被识别，是注释"
                                     : "本行含不可见的字节顺序标记（U+FEFF），它不分隔词语");
        }
    }

    void noteReportCut() const {
        diagnostics_.problem(problem::ReportCut, "报告已达上限 " + std::to_string(kReportCapBytes) +
                                                     " 字节，在此截断，此后的输出都被丢弃");
    }

    // Told on the last line read, taken as that line was.
    void noteScriptEnd(const ScriptText& script, std::size_t line, std::size_t offset) {
        diagnostics_.setLine(line, offset);
        const std::size_t before = run_.account.problems.size();
        if (script.cutAtLimit) {
            diagnostics_.problem(problem::ScriptCut, "脚本超过 " + std::to_string(kMaxScriptBytes) +
                                                         " 字节，此后的部分未读入");
        }
        if (!sawCommand_) {
            diagnostics_.setLine(1, 0);
            diagnostics_.problem(problem::NoCommand, "脚本中没有任何指令（mpinit=、$$、@@、mpout、mpecho）：报告是 3 级默认得分；"
                                                     "文件是否为空、是否选错了编码？");
            diagnostics_.setLine(line, offset);
        }
        if (script.bytesAfterNul > 0) {
            diagnostics_.problem(problem::EndsAtNul, "脚本在 NUL 字节处结束，其后的 " +
                                                         std::to_string(script.bytesAfterNul) + " 字节未读入");
        }
        const LineKind kind = run_.account.lines.empty() ? LineKind::Comment : run_.account.lines.back();
        for (std::size_t i = before; i < run_.account.problems.size(); ++i) run_.account.problems[i].takenAs = kind;
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
        if (report_.truncated()) return;
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
    bool sawCommand_ = false;
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

ScriptRun InterpretScript(std::string_view script, DiagnosticSink sink, bool keepAccount) {
    return Interpreter(std::move(sink), keepAccount).run(ScriptText(script));
}

std::string ScoreScript(std::string_view script, DiagnosticSink sink) {
    return InterpretScript(script, std::move(sink)).report;
}

}  // namespace quillon
