#include <algorithm>
#include <optional>

#include "app/compare_text.hpp"
#include "cli/compare_run.hpp"
#include "cli/json_output.hpp"
#include "cli/output.hpp"
#include "cli/script_input.hpp"
#include "script/interpreter.hpp"
#include "text/utf8.hpp"

namespace quillon::cli {
namespace {

struct Scored {
    std::string name;  // valid UTF-8, as the outputs show it
    ScriptRun run;
};

std::optional<Scored> Score(const std::string& file, const RunSettings& settings, const DiagnosticSink& sink) {
    try {
        const Script script = ReadScriptNamed(file, true, settings.inputEncoding);
        return Scored{RepairUtf8(script.shown), InterpretScript(ScriptText(script.text, script.bytesAfterNul), sink, true)};
    } catch (const Trouble& trouble) {
        Say(trouble.message);
        return std::nullopt;
    }
}

}  // namespace

int RunComparison(const std::string& beforeFile, const std::string& afterFile, const RunSettings& settings) {
    const app::ExportFormat* const table = TableFormat(settings.format, false);
    const DiagnosticSink sink = TraceSink(settings.trace);
    // Both are read, so that each one's trouble is told.
    const std::optional<Scored> before = Score(beforeFile, settings, sink);
    const std::optional<Scored> after = Score(afterFile, settings, sink);
    if (!before || !after) return kTrouble;
    const Comparison c = Compare(*before->run.lastReport, *after->run.lastReport);
    if (table) {
        const std::vector<app::Grid> grids = app::ComparisonGrids(c, before->name, after->name);
        const std::string heading(app::kComparisonHeading);
        WriteTableFile(*table, settings.gbk, [&](std::string& error) { return table->writeGrids(grids, heading, settings.gbk, error); });
    } else if (settings.format == "json") {
        WriteOut(JsonText(ComparisonJson(c, before->name, after->name), settings.gbk));
    } else {
        WriteOut(app::ComparisonText(c, before->name, after->name),
                 settings.gbk ? codec::OutputEncoding::Gbk : codec::OutputEncoding::Utf8);
    }
    return std::max(Finished(before->run.reportTruncated, before->name), Finished(after->run.reportTruncated, after->name));
}

}  // namespace quillon::cli
