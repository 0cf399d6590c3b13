#include "cli/several_scripts.hpp"

#include <algorithm>

#include "cli/check_output.hpp"
#include "cli/json_output.hpp"
#include "cli/output.hpp"
#include "cli/platform.hpp"
#include "cli/script_input.hpp"
#include "script/interpreter.hpp"
#include "text/utf8.hpp"

namespace quillon::cli {
namespace {

using Json = nlohmann::ordered_json;

// The reports as text, each under a line naming its file, as head(1) sets files apart.
class Reports {
public:
    explicit Reports(codec::OutputEncoding encoding) : encoding_(encoding) {}

    void write(const std::string& shown, std::string report) {
        std::string text;
        if (written_) text = endsLine_ ? "\r\n" : "\r\n\r\n";
        text += "==> " + RepairUtf8(shown) + " <==\r\n";
        // The last line ends without a line end, as one report's does; a console gets one.
        if (!report.empty() && report.back() != '\n' && StdoutIsTerminal()) report += "\r\n";
        endsLine_ = report.empty() || report.back() == '\n';
        WriteOut(text + report, encoding_);
        written_ = true;
    }

private:
    codec::OutputEncoding encoding_;
    bool written_ = false;
    bool endsLine_ = true;
};

}  // namespace

int RunSeveralScripts(const std::vector<std::string>& files, const RunSettings& settings) {
    if (settings.explain) throw Trouble{"--explain takes one script at a time (quillon-score --help lists the options)"};
    const bool json = settings.format == "json";
    const app::ExportFormat* const table = TableFormat(settings.format, settings.check);
    const DiagnosticSink sink = TraceSink(settings.trace);
    const codec::OutputEncoding encoding = settings.gbk ? codec::OutputEncoding::Gbk : codec::OutputEncoding::Utf8;
    Reports reports(encoding);
    std::vector<app::NamedTables> tables;
    Json summary = Json::array();
    Json scripts = Json::array();
    int worst = kSuccess;
    for (const std::string& file : files) {
        Script script;
        try {
            script = ReadScriptNamed(file, true, settings.inputEncoding);
        } catch (const Trouble& trouble) {
            Say(trouble.message);
            worst = kTrouble;
            continue;
        }
        const ScriptRun run =
            InterpretScript(ScriptText(script.text, script.bytesAfterNul), sink, settings.check || json || table != nullptr);
        // JSON holds only valid UTF-8: a file name from elsewhere may be in another encoding.
        const std::string jsonName = RepairUtf8(script.name);
        int code = kSuccess;
        if (settings.check) {
            if (json) {
                scripts.push_back(ProblemsJson(jsonName, script.encoding, run.account));
            } else {
                WriteOut(ProblemLines(script.name, run.account), encoding);
            }
            code = run.account.problems.empty() ? kSuccess : kAttention;
        } else {
            if (table) {
                tables.push_back({jsonName, TablesOf(*run.lastReport)});
            } else if (json) {
                summary.push_back(SummaryRowJson(jsonName, TablesOf(*run.lastReport)));
                Json results{{"file", jsonName}};
                results.update(ResultsJson(*run.lastReport, run.reportTruncated));
                scripts.push_back(results);
            } else {
                reports.write(script.shown, run.report);
            }
            code = Finished(run.reportTruncated, script.shown);
        }
        worst = std::max(worst, code);
    }
    if (table) {
        WriteTableFile(*table, settings.gbk, [&](std::string& error) { return table->writeScripts(tables, settings.gbk, error); });
    } else if (json && settings.check) {
        WriteOut(JsonText(Json{{"scripts", scripts}}, settings.gbk));
    } else if (json) {
        WriteOut(JsonText(Json{{"summary", summary}, {"scripts", scripts}}, settings.gbk));
    }
    return worst;
}

}  // namespace quillon::cli
