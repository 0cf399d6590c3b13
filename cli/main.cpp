// quillon-score: scores a script from a file, standard input or the built-in samples and
// prints the report on standard output.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>
#include <string>

#include "codec/encoding.hpp"
#include "codec/script_file.hpp"
#include "script/builtin_texts.hpp"
#include "cli/json_output.hpp"
#include "script/interpreter.hpp"

namespace {

using quillon::codec::InputEncoding;
using quillon::codec::OutputEncoding;

constexpr int kUsageError = 2;
constexpr int kInputError = 1;

enum class Format { Text, Json };

struct Options {
    std::string file;
    int sample = 0;
    InputEncoding inputEncoding = InputEncoding::Auto;
    OutputEncoding outputEncoding = OutputEncoding::Utf8;
    bool trace = false;
    bool check = false;
    Format format = Format::Text;
};

// "FILE:LINE: 警告[CODE]: message" for every problem, in line order.
std::string ProblemLines(const std::string& file, const quillon::ScriptAccount& account) {
    std::string text;
    for (const quillon::Problem& p : account.problems) {
        text += file + ":" + std::to_string(p.line) + ": 警告[" + std::string(p.code) + "]: " + p.message + "\n";
    }
    return text;
}

void Fail(const std::string& message) { std::fprintf(stderr, "quillon-score: %s\n", message.c_str()); }

void WriteAll(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Scores a commercial-cryptography assessment script and prints its report."};
    app.set_version_flag("--version", std::string("quillon-score ") + QUILLON_VERSION);
    Options options;
    auto* fileOption = app.add_option("FILE", options.file,
                                      "Script file; - or nothing reads standard input");
    app.add_option("--sample", options.sample, "Score built-in sample text N (2 to 5)")
        ->check(CLI::Range(2, 5))
        ->excludes(fileOption);
    const std::map<std::string, InputEncoding> inputs{
        {"auto", InputEncoding::Auto}, {"utf-8", InputEncoding::Utf8}, {"gbk", InputEncoding::Gbk}};
    app.add_option("--input-encoding", options.inputEncoding,
                   "auto (UTF-8 when the bytes are UTF-8, else GBK), utf-8 or gbk")
        ->transform(CLI::CheckedTransformer(inputs, CLI::ignore_case));
    const std::map<std::string, OutputEncoding> outputs{{"utf-8", OutputEncoding::Utf8},
                                                        {"gbk", OutputEncoding::Gbk}};
    app.add_option("--output-encoding", options.outputEncoding, "utf-8 (default) or gbk")
        ->transform(CLI::CheckedTransformer(outputs, CLI::ignore_case));
    app.add_flag("--trace", options.trace, "Write the handlers' diagnostic lines to standard error");
    app.add_flag("--check", options.check,
                 "Print the problems found on each line instead of the report; exit 1 when there is any");
    const std::map<std::string, Format> formats{{"text", Format::Text}, {"json", Format::Json}};
    app.add_option("--format", options.format,
                   "text (default) or json: the last report's results, or with --check the problems")
        ->transform(CLI::CheckedTransformer(formats, CLI::ignore_case));

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kUsageError;
    }

    std::string script;
    if (options.sample != 0) {
        script = std::string(quillon::BuiltInSamples[static_cast<unsigned>(options.sample - 1)].text);
    } else {
        const bool fromStdin = options.file.empty() || options.file == "-";
        if (fromStdin && options.file.empty() && isatty(STDIN_FILENO)) {
            Fail("no script given: name a FILE, use - for standard input, or --sample N");
            return kUsageError;
        }
        const auto read = fromStdin ? quillon::codec::ReadScriptStream(stdin)
                                    : quillon::codec::ReadScriptFile(options.file);
        if (!read.ok) {
            Fail((fromStdin ? std::string("standard input") : options.file) + ": " + read.error);
            return kInputError;
        }
        script = quillon::codec::DecodeScript(read.bytes, options.inputEncoding);
    }

    quillon::DiagnosticSink sink;
    if (options.trace) {
        sink = [](std::string_view line) { std::fwrite(line.data(), 1, line.size(), stderr); };
    }
    const bool wantsAccount = options.check || options.format == Format::Json;
    const quillon::ScriptRun run = quillon::InterpretScript(script, sink, wantsAccount);
    const std::string name = options.sample != 0 ? "sample-" + std::to_string(options.sample)
                                                 : (options.file.empty() ? std::string("-") : options.file);
    std::string output;
    if (options.check) {
        output = options.format == Format::Json
                     ? quillon::cli::ProblemsJson(name, run.account).dump(2) + "\n"
                     : ProblemLines(name, run.account);
    } else if (options.format == Format::Json) {
        output = quillon::cli::ResultsJson(*run.lastReport).dump(2) + "\n";
    } else {
        output = run.report;
    }
    WriteAll(stdout, quillon::codec::EncodeReport(output, options.outputEncoding));
    return options.check && !run.account.problems.empty() ? 1 : 0;
}
