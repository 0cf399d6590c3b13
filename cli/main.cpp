// quillon-score: scores a script from a file, standard input or the built-in samples and
// prints the report on standard output. Exit codes as grep has them: 0 success, 1 something to
// look at, 2 trouble.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "app/export_formats.hpp"
#include "cli/explain_output.hpp"
#include "cli/check_output.hpp"
#include "cli/compare_run.hpp"
#include "cli/json_output.hpp"
#include "cli/output.hpp"
#include "cli/platform.hpp"
#include "cli/script_input.hpp"
#include "cli/several_scripts.hpp"
#include "codec/decode.hpp"
#include "codec/encoding.hpp"
#include "codec/script_file.hpp"
#include "scoring/report_tables.hpp"
#include "text/utf8.hpp"
#include "app/builtin_texts.hpp"
#include "script/interpreter.hpp"

namespace {

using quillon::codec::InputEncoding;
using quillon::codec::OutputEncoding;
using namespace quillon::cli;  // the tool's own pieces: reading, writing, exit codes

constexpr const char* kExitCodes =
    "Exit codes: 0 success (with --check: no problem); 1 something to look at (a problem under\n"
    "--check, a report cut at its limit); 2 trouble (bad usage, a script that could not be read or\n"
    "was refused, output that could not be written).";

// The values an option takes, in one place for its check, its help and the message that refuses
// another. Compared in lower case.
const std::vector<std::string> kSamples{"2", "3", "4", "5"};
const std::vector<std::string> kInputEncodings{"auto", "utf-8", "gbk"};
const std::vector<std::string> kOutputEncodings{"utf-8", "gbk"};
// text, json and the tables' formats.
std::vector<std::string> FormatChoices() {
    std::vector<std::string> formats{"text", "json"};
    for (const quillon::app::ExportFormat& format : quillon::app::ExportFormats()) formats.emplace_back(format.name);
    return formats;
}
const std::vector<std::string> kFormats = FormatChoices();
struct Choices {
    const char* option;
    const std::vector<std::string>& values;
};
const Choices kChoices[] = {{"--sample", kSamples},
                            {"--input-encoding", kInputEncodings},
                            {"--output-encoding", kOutputEncodings},
                            {"--format", kFormats}};

struct Options {
    std::vector<std::string> files;
    std::string file;  // the one script of a run of one
    bool fileGiven = false;
    std::string sample;
    std::string inputEncoding = "auto";
    std::string outputEncoding = "utf-8";
    std::string format = "text";
    bool trace = false;
    bool check = false;
    bool explain = false;
    std::string assume;
    bool assumeGiven = false;  // also when empty: "--assume ''" names no unit
    std::vector<std::string> compare;  // BEFORE and AFTER
};

// "csv, html or xlsx: ... (xlsx to a file: > report.xlsx)"
std::string TableFormatsHelp() {
    const auto formats = quillon::app::ExportFormats();
    std::string names;
    std::string toFile;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        names += (i == 0 ? "" : (i + 1 == formats.size() ? " or " : ", ")) + std::string(formats[i].name);
        if (formats[i].binary) {
            toFile += (toFile.empty() ? "" : "; ") + std::string(formats[i].name) + " to a file: > report." +
                      std::string(formats[i].suffix);
        }
    }
    return names + ": table 5-2, the layer summary, the counts and the total for the assessment report" +
           (toFile.empty() ? "" : " (" + toFile + ")");
}

void AddOptions(CLI::App& app, Options& options) {
    app.add_option("FILE", options.files,
                   "Script file; - or nothing reads standard input. Several files: each one's report under a line "
                   "naming it, with the tables and JSON a summary of them all first");
    CLI::Option* sample = app.add_option("--sample", options.sample, "Score built-in sample text N: 2, 3, 4 or 5")
        ->check(CLI::IsMember(kSamples))
        ->excludes("FILE");
    app.add_option("--input-encoding", options.inputEncoding,
                   "For a script without a byte-order mark: auto (UTF-8 when the bytes are UTF-8 but for a few "
                   "bad ones, else GB18030, the superset of GBK), utf-8 or gbk. A mark always decides: UTF-8, "
                   "UTF-16, UTF-32")
        ->check(CLI::IsMember(kInputEncodings, CLI::ignore_case));
    app.add_option("--output-encoding", options.outputEncoding, "utf-8 (default) or gbk")
        ->check(CLI::IsMember(kOutputEncodings, CLI::ignore_case));
    app.add_flag("--trace", options.trace, "Write the handlers' diagnostic lines to standard error");
    CLI::Option* check = app.add_flag("--check", options.check,
                 "Print the problems found on each line instead of the report, then the notes where the script "
        "departs from the official scoring rules; exit 1 when there is any problem");
    CLI::Option* explain = app.add_flag("--explain", options.explain,
                 "Instead of the report: for every unit below 1, the points the total gains when that unit "
                 "alone is compliant, largest first, and the points each layer loses")
        ->excludes(check);
    app.add_option("--assume", options.assume,
                   "With --explain: the total with these units compliant together, e.g. 4.3,7.4")
        ->needs(explain);
    app.add_option("--compare", options.compare,
                   "BEFORE AFTER: two scripts' last reports side by side, before and after rectification: each "
                   "unit's and layer's score, the points, the totals and the counts, with the changes and the units "
                   "that moved between non-compliant, partly and compliant")
        ->expected(2)
        ->excludes(sample)
        ->excludes(check)
        ->excludes(explain)
        ->excludes("FILE");
    app.add_option("--format", options.format,
                   "text (default) or json: the last report's results, with --check the problems, with "
                   "--explain the gains, with --compare the comparison; " + TableFormatsHelp())
        ->check(CLI::IsMember(kFormats, CLI::ignore_case));
    app.footer(kExitCodes);
}

// A command line CLI11 refused, told in the tool's words: its own would name its internals.
std::string UsageProblem(const CLI::App& app, const CLI::ParseError& error) {
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        for (const std::string& extra : app.remaining()) {
            if (extra.size() > 1 && extra[0] == '-') return "there is no option " + extra;
            return "one script at a time: '" + extra + "' would be a second";
        }
    }
    for (const Choices& choices : kChoices) {
        const CLI::Option* option = app.get_option(choices.option);
        if (option->count() > 1) return std::string(choices.option) + " is given more than once";
        for (const std::string& given : option->results()) {
            if (std::find(choices.values.begin(), choices.values.end(), Lower(given)) != choices.values.end()) continue;
            std::string list;
            for (const std::string& value : choices.values) list += (list.empty() ? "" : ", ") + value;
            return std::string(choices.option) + " takes one of " + list + ", not '" + given + "'";
        }
    }
    if (app.count("--sample") > 0 && app.count("FILE") > 0) return "--sample scores a built-in script: it takes no FILE";
    if (app.count("--compare") > 0) {
        if (app.count("FILE") > 0) return "--compare takes two scripts, BEFORE and AFTER: '" + app.get_option("FILE")->results()[0] + "' would be a third";
        if (app.count("--sample") + app.count("--check") + app.count("--explain") > 0) return "--compare goes with no --sample, --check or --explain";
        if (app.get_option("--compare")->results().size() != 2) return "--compare needs two scripts, BEFORE and AFTER";
    }
    if (app.count("--check") > 0 && app.count("--explain") > 0) return "--check and --explain do not go together";
    if (app.count("--assume") > 0 && app.count("--explain") == 0) return "--assume goes with --explain";
    if (app.count("--assume") > 1) return "--assume is given more than once";
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        // An option that wants a value and got none: CLI11 names it first.
        const std::string what = error.what();
        const std::string name = what.substr(0, what.find(':'));
        if (name.rfind("--", 0) == 0 && app.get_option_no_throw(name) != nullptr) return name + " needs a value";
    }
    return "the command line is not understood";
}

Script ReadScript(const Options& options) {
    if (!options.sample.empty()) {
        const int n = options.sample[0] - '0';
        return {"sample-" + options.sample, "sample-" + options.sample,
                std::string(quillon::BuiltInSamples[static_cast<unsigned>(n - 1)].text), "UTF-8"};
    }
    return quillon::cli::ReadScriptNamed(options.file, options.fileGiven, options.inputEncoding);
}

// JSON stays JSON in either output encoding: with gbk asked, every character past ASCII is
// written as \uXXXX, so that the bytes are ASCII, the same in GBK and in UTF-8.
// The last report's model run again with units made compliant.
std::string ExplainOutput(const Options& options, const quillon::ScriptRun& run, bool json, bool ascii) {
    const quillon::ScoreStore& last = *run.lastReport;
    const quillon::Explanation explanation = quillon::ExplainTotal(last, run.lastReportFlags);
    quillon::app::AssumedUnits assumed;
    if (options.assumeGiven) {
        assumed = quillon::app::ParseAssumedUnits(options.assume, last);
        if (!assumed.error.empty()) throw Trouble{assumed.error};
    }
    const quillon::app::AssumedUnits* chosen = options.assumeGiven ? &assumed : nullptr;
    if (json) return quillon::cli::JsonText(quillon::cli::ExplanationJson(last, explanation, chosen, run.lastReportFlags), ascii);
    return quillon::app::ExplanationText(last, explanation, chosen, run.lastReportFlags);
}

int Run(const Options& options) {
    const Script script = ReadScript(options);
    const quillon::DiagnosticSink sink = quillon::cli::TraceSink(options.trace);
    const std::string format = Lower(options.format);
    const bool json = format == "json";
    const quillon::app::ExportFormat* const table = quillon::cli::TableFormat(format, options.check || options.explain);
    const quillon::ScriptRun run = quillon::InterpretScript(quillon::ScriptText(script.text, script.bytesAfterNul), sink,
                                                           options.check || options.explain || json || table != nullptr);
    // JSON holds only valid UTF-8: a file name from elsewhere may be in another encoding.
    const std::string jsonName = quillon::RepairUtf8(script.name);
    const bool gbk = Lower(options.outputEncoding) == "gbk";
    std::string output;
    if (options.check) {
        output = json ? quillon::cli::JsonText(quillon::cli::ProblemsJson(jsonName, script.encoding, run.account), gbk)
                      : ProblemLines(script.name, run.account);
    } else if (table) {
        const quillon::ScoreTables tables = quillon::TablesOf(*run.lastReport);
        quillon::cli::WriteTableFile(*table, gbk, [&](std::string& error) { return table->write(tables, gbk, error); });
        return Finished(run.reportTruncated);
    } else if (options.explain) {
        output = ExplainOutput(options, run, json, gbk);
    } else if (json) {
        output = quillon::cli::JsonText(quillon::cli::ResultsJson(*run.lastReport, run.reportTruncated), gbk);
    } else {
        output = run.report;
        // Its bytes are fixed and end without a line end; a console gets one, so that the prompt
        // does not stick to the last line.
        if (quillon::cli::StdoutIsTerminal() && !output.empty() && output.back() != '\n') output += "\r\n";
    }
    WriteOut(output, gbk ? OutputEncoding::Gbk : OutputEncoding::Utf8);
    if (options.check) return run.account.problems.empty() ? kSuccess : kAttention;
    return Finished(run.reportTruncated);
}

}  // namespace

int main(int argc, char** argv) {
    quillon::cli::UseBinaryStreams();
    try {
        std::vector<std::string> arguments = quillon::cli::Utf8Arguments(argc, argv);
        std::vector<char*> argumentPointers;
        for (std::string& argument : arguments) argumentPointers.push_back(argument.data());
        CLI::App app{"Scores a commercial-cryptography assessment script and prints its report.", "quillon-score"};
        app.allow_windows_style_options(false);  // "/path" is a file on Windows too, not an option
        Options options;
        AddOptions(app, options);
        app.set_help_flag();  // help and version are written here, so that a write error is told
        bool help = false;
        bool version = false;
        app.add_flag("-h,--help", help, "Print this help and exit");
        app.add_flag("--version", version, "Print the version and exit");
        try {
            app.parse(static_cast<int>(argumentPointers.size()), argumentPointers.data());
        } catch (const CLI::ParseError& e) {
            if (help) {
                WriteOut(app.help());
                return kSuccess;
            }
            Say(UsageProblem(app, e) + " (quillon-score --help lists the options)");
            return kTrouble;
        }
        if (help) {
            WriteOut(app.help());
            return kSuccess;
        }
        if (version) {
            WriteOut(std::string("quillon-score ") + QUILLON_VERSION + "\n");
            return kSuccess;
        }
        options.fileGiven = app.count("FILE") > 0;
        options.assumeGiven = app.count("--assume") > 0;
        const quillon::cli::RunSettings settings{options.inputEncoding, Lower(options.outputEncoding) == "gbk",
                                                 Lower(options.format), options.check, options.explain, options.trace};
        if (!options.compare.empty()) return quillon::cli::RunComparison(options.compare[0], options.compare[1], settings);
        if (options.files.size() > 1) return quillon::cli::RunSeveralScripts(options.files, settings);
        if (options.fileGiven) options.file = options.files.front();
        return Run(options);
    } catch (const Trouble& trouble) {
        Say(trouble.message);
    } catch (const std::bad_alloc&) {
        Say("out of memory");
    } catch (const std::exception& e) {
        Say(e.what());
    }
    return kTrouble;
}
