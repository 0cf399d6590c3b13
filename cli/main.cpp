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
#include "cli/json_output.hpp"
#include "cli/platform.hpp"
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

constexpr int kSuccess = 0;
constexpr int kAttention = 1;  // a problem under --check, a cut report
constexpr int kTrouble = 2;    // bad usage, input not read or refused, output not written

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
    std::string file;
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
};

struct Trouble {
    std::string message;
};

// Lines on standard error: characters on a console, else UTF-8 bytes.
void SayRaw(const std::string& text) {
    if (quillon::cli::WriteToConsole(stderr, text) == quillon::cli::ConsoleWrite::NotAConsole) {
        std::fwrite(text.data(), 1, text.size(), stderr);
    }
}

// Every line on standard error starts with the program's name.
constexpr const char* kPrefix = "quillon-score: ";

void Say(const std::string& message) { SayRaw(kPrefix + message + "\n"); }

// All of the bytes on standard output, or Trouble: a full disk or a closed stream is no success.
void WriteBytes(const std::string& bytes) {
    errno = 0;
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written != bytes.size() || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        throw Trouble{std::string("write error: ") + (errno != 0 ? std::strerror(errno) : "output not written")};
    }
}

// All of text on standard output, or Trouble: a full disk or a closed stream is no success. A
// console shows characters; a file or a pipe takes the bytes in the encoding asked for.
void WriteOut(const std::string& utf8, OutputEncoding encoding = OutputEncoding::Utf8) {
    switch (quillon::cli::WriteToConsole(stdout, utf8)) {
        case quillon::cli::ConsoleWrite::Written:
            return;
        case quillon::cli::ConsoleWrite::Failed:
            throw Trouble{"write error: output not written"};
        case quillon::cli::ConsoleWrite::NotAConsole:
            break;
    }
    WriteBytes(quillon::codec::EncodeReport(utf8, encoding));
}

// "FILE:LINE:COLUMN: 警告[CODE]: message" for every problem in line order (no column for a
// problem about a whole line), and a line for the rest; then the notes, as "提示[CODE]".
std::string ProblemLines(const std::string& file, const quillon::ScriptAccount& account) {
    std::string text;
    const auto list = [&](const std::vector<quillon::Problem>& entries, const char* kind) {
        for (const quillon::Problem& p : entries) {
            text += file + ":" + std::to_string(p.line) + (p.column > 0 ? ":" + std::to_string(p.column) : "") + ": " + kind +
                    "[" + std::string(p.code) + "]: " + p.message + "\n";
        }
    };
    list(account.problems, "警告");
    if (!account.unlisted.empty()) {
        text += file + ": 另有 " + std::to_string(account.unlistedCount()) + " 个问题未列出：";
        bool first = true;
        for (const auto& [code, count] : account.unlisted) {
            text += (first ? "" : ", ") + std::string(code) + " " + std::to_string(count) + " 个";
            first = false;
        }
        text += "\n";
    }
    list(account.notes, "提示");
    if (account.unlistedNotes > 0) text += file + ": 另有 " + std::to_string(account.unlistedNotes) + " 个提示未列出\n";
    return text;
}

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
    app.add_option("FILE", options.file, "Script file; - or nothing reads standard input");
    app.add_option("--sample", options.sample, "Score built-in sample text N: 2, 3, 4 or 5")
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
    app.add_option("--format", options.format,
                   "text (default) or json: the last report's results, with --check the problems, with "
                   "--explain the gains; " + TableFormatsHelp())
        ->check(CLI::IsMember(kFormats, CLI::ignore_case));
    app.footer(kExitCodes);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
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

struct Script {
    std::string name;  // as messages name it
    std::string text;  // UTF-8, up to a NUL if the file holds one
    std::string encoding;
    std::size_t bytesAfterNul = 0;  // the file's bytes after that NUL
};

// What the decoder replaced by U+FFFD, told once: --check lists each place.
void SayReplaced(const std::string& shown, const std::string& bytes, const quillon::codec::DecodedScript& decoded) {
    if (decoded.replaced == 0) return;
    std::string first;
    for (std::size_t i = 0; i < decoded.firstReplacedLength; ++i) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        const auto b = static_cast<unsigned char>(bytes[decoded.firstReplacedAt + i]);
        first += std::string(first.empty() ? "0x" : " 0x") + kHex[b >> 4] + kHex[b & 15];
    }
    Say(shown + ": read as " + std::string(decoded.encoding) + "; " + std::to_string(decoded.replaced) +
        (decoded.replaced == 1 ? " place where the bytes are" : " places where the bytes are") +
        " no character read as U+FFFD (the first: " + first + " at offset " + std::to_string(decoded.firstReplacedAt) + ")");
}

Script ReadScript(const Options& options) {
    if (!options.sample.empty()) {
        const int n = options.sample[0] - '0';
        return {"sample-" + options.sample, std::string(quillon::BuiltInSamples[static_cast<unsigned>(n - 1)].text), "UTF-8"};
    }
    if (options.fileGiven && options.file.empty()) throw Trouble{"'': no such file (the file name is empty)"};
    const bool fromStdin = options.file.empty() || options.file == "-";
    if (fromStdin && !options.fileGiven && quillon::cli::StdinIsTerminal()) {
        throw Trouble{"no script given: name a FILE, use - for standard input, or --sample N"};
    }
    const std::string name = fromStdin ? std::string("-") : options.file;
    const std::string shown = fromStdin ? std::string("standard input") : options.file;
    const auto read = fromStdin ? quillon::codec::ReadScriptStream(stdin) : quillon::codec::ReadScriptFile(options.file);
    if (!read.ok) throw Trouble{shown + ": " + read.error};
    const std::string encoding = Lower(options.inputEncoding);
    const InputEncoding chosen = encoding == "utf-8" ? InputEncoding::Utf8
                                 : encoding == "gbk" ? InputEncoding::Gbk
                                                     : InputEncoding::Auto;
    quillon::codec::DecodedScript decoded = quillon::codec::DecodeScript(read.bytes, chosen);
    if (decoded.binary) {
        throw Trouble{shown + ": not a text file (NUL bytes within its first " +
                      std::to_string(quillon::codec::kBinarySniffBytes) + " bytes); nothing scored"};
    }
    SayReplaced(shown, read.bytes, decoded);
    return {name, std::move(decoded.text), std::string(decoded.encoding), decoded.bytesAfterNul};
}

// A cut report is told, and is something to look at.
int Finished(bool reportTruncated) {
    if (!reportTruncated) return kSuccess;
    Say("the report reached its limit of " + std::to_string(quillon::kReportCapBytes) + " bytes and was cut there");
    return kAttention;
}

// Text in the output encoding asked for; a binary file as its bytes, never text for a console.
int WriteTables(const quillon::app::ExportFormat& format, const quillon::ScoreTables& tables, bool gbk,
                bool reportTruncated) {
    std::string error;
    std::string file;
    {
        const quillon::cli::QuietStderr quiet;  // a writer's library may print its own lines there (libxlsxwriter does)
        file = format.write(tables, gbk, error);
    }
    if (!error.empty()) throw Trouble{error};
    if (format.binary) {
        WriteBytes(file);
    } else {
        WriteOut(file, gbk ? OutputEncoding::Gbk : OutputEncoding::Utf8);
    }
    return Finished(reportTruncated);
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
    quillon::DiagnosticSink sink;
    if (options.trace) {
        sink = [](std::string_view line) { SayRaw(kPrefix + std::string(line)); };
    }
    const std::string format = Lower(options.format);
    const bool json = format == "json";
    const quillon::app::ExportFormat* const table = quillon::app::FindExportFormat(format);
    if (table && (options.check || options.explain)) throw Trouble{"--format " + format + " is for the report's tables, not with --check or --explain"};
    if (table && table->binary && quillon::cli::StdoutIsTerminal()) {
        throw Trouble{format + " is a binary file: redirect standard output to a file (> report." + std::string(table->suffix) + ")"};
    }
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
        return WriteTables(*table, quillon::TablesOf(*run.lastReport), gbk, run.reportTruncated);
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
