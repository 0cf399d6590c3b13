// The tool's exit codes, its lines on standard error and its output, for every kind of run.
#pragma once

#include <functional>
#include <string>

#include "app/export_formats.hpp"
#include "codec/encoding.hpp"
#include "scoring/diagnostics.hpp"

namespace quillon::cli {

inline constexpr int kSuccess = 0;
inline constexpr int kAttention = 1;  // a problem under --check, a cut report
inline constexpr int kTrouble = 2;    // bad usage, input not read or refused, output not written

// What ends a run (or, with several scripts, one script's part of it) with exit code 2, told in
// one line.
struct Trouble {
    std::string message;
};

// Every line on standard error starts with the program's name.
inline constexpr const char* kPrefix = "quillon-score: ";

// Lines on standard error: characters on a console, else UTF-8 bytes.
void SayRaw(const std::string& text);
void Say(const std::string& message);

// All of the bytes on standard output, or Trouble: a full disk or a closed stream is no success.
void WriteBytes(const std::string& bytes);
// All of text on standard output, or Trouble. A console shows characters; a file or a pipe takes
// the bytes in the encoding asked for.
void WriteOut(const std::string& utf8, codec::OutputEncoding encoding = codec::OutputEncoding::Utf8);

// The handlers' diagnostic lines on standard error, when asked for.
DiagnosticSink TraceSink(bool trace);

// A cut report is told (naming its file when there are several), and is something to look at.
int Finished(bool reportTruncated, const std::string& file = {});

// The table format that --format names, or nullptr for text and JSON; Trouble when it goes with
// neither the run nor the console.
const app::ExportFormat* TableFormat(const std::string& format, bool checkOrExplain);

// A table file on standard output: text in the output encoding asked for, a binary file as its
// bytes. `write` is the format's writer for what is exported; its failure is Trouble.
void WriteTableFile(const app::ExportFormat& format, bool gbk, const std::function<std::string(std::string& error)>& write);

// Lower case of ASCII letters: option values are compared so.
std::string Lower(std::string s);

}  // namespace quillon::cli
