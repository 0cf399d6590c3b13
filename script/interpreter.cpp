#include "script/interpreter.hpp"

#include <string>

#include "scoring/count_form.hpp"
#include "scoring/level.hpp"
#include "scoring/report.hpp"
#include "scoring/report_text.hpp"
#include "scoring/text_format.hpp"
#include "scoring/utf8.hpp"
#include "script/arguments.hpp"
#include "script/layer_line.hpp"
#include "script/lines.hpp"
#include "script/unit_line.hpp"

namespace quillon {
namespace {

constexpr std::string_view kClosingNotice =
    "没有mpout 命令 最后自动补1个// 对 所有单元得分输出 归并到层面和总分 ";

bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

class Interpreter {
public:
    explicit Interpreter(DiagnosticSink sink) : diagnostics_(std::move(sink)) {}

    ScriptRun run(std::string_view script) {
        InitLevel(store_, "mpinit=3 1", 1, diagnostics_);
        ForEachLine(script, [this](std::string_view line, std::size_t) { dispatch(line); });
        if (mpoutCount_ == 0) {
            WriteScoreReport(store_, "mpout ", report_, ClosingReportFlags, diagnostics_);
            report_.append(kClosingNotice);
        }
        return ScriptRun{report_.release(), store_};
    }

private:
    void dispatch(std::string_view line) {
        if (StartsWith(line, "mpinit=") && line.size() > 7 && line[7] >= '1' && line[7] <= '4') {
            levelSetUp(line);
        } else if (StartsWith(line, "$$ ")) {
            // Shows its objects' score in the report and stores nothing.
            CountFormScore(objects_, line.substr(3), nullptr, &report_, nullptr);
        } else if (StartsWith(line, "$$")) {
            SetUnitScore(store_, objects_, line, diagnostics_);
        } else if (StartsWith(line, "@@")) {
            deal_CC(store_, line, diagnostics_);
        } else if (StartsWith(line, "mpout")) {
            const auto flags = static_cast<std::uint32_t>(
                ReadHexArgument(line, static_cast<std::int32_t>(DefaultReportFlags)));
            WriteScoreReport(store_, line, report_, flags, diagnostics_);
            ++mpoutCount_;
        } else if (StartsWith(line, "mpec")) {
            report_.append(line);
            report_.append("\r\n");
        }
        // Every other line is a comment.
    }

    void levelSetUp(std::string_view line) {
        const std::int32_t x = ReadHexArgument(line, 1);
        InitLevel(store_, line, x, diagnostics_);
        std::string confirmation = "mpinit=";
        AppendInt(confirmation, store_.AssessmentLevel);
        confirmation += ' ';
        AppendHex(confirmation, static_cast<std::uint32_t>(x));
        confirmation += " 处理完毕\r\n";
        report_.append(confirmation);
    }

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

ScriptRun InterpretScript(std::string_view script, DiagnosticSink sink) {
    std::string repaired;
    return Interpreter(std::move(sink)).run(ScriptText(script, repaired));
}

std::string ScoreScript(std::string_view script, DiagnosticSink sink) {
    return InterpretScript(script, std::move(sink)).report;
}

}  // namespace quillon
