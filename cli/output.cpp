#include "cli/output.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/platform.hpp"
#include "scoring/limits.hpp"

namespace quillon::cli {

void SayRaw(const std::string& text) {
    if (WriteToConsole(stderr, text) == ConsoleWrite::NotAConsole) {
        std::fwrite(text.data(), 1, text.size(), stderr);
    }
}

void Say(const std::string& message) { SayRaw(kPrefix + message + "\n"); }

void WriteBytes(const std::string& bytes) {
    errno = 0;
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written != bytes.size() || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        throw Trouble{std::string("write error: ") + (errno != 0 ? std::strerror(errno) : "output not written")};
    }
}

void WriteOut(const std::string& utf8, codec::OutputEncoding encoding) {
    switch (WriteToConsole(stdout, utf8)) {
        case ConsoleWrite::Written:
            return;
        case ConsoleWrite::Failed:
            throw Trouble{"write error: output not written"};
        case ConsoleWrite::NotAConsole:
            break;
    }
    WriteBytes(codec::EncodeReport(utf8, encoding));
}

DiagnosticSink TraceSink(bool trace) {
    if (!trace) return {};
    return [](std::string_view line) { SayRaw(kPrefix + std::string(line)); };
}

int Finished(bool reportTruncated, const std::string& file) {
    if (!reportTruncated) return kSuccess;
    Say((file.empty() ? "" : file + ": ") + "the report reached its limit of " + std::to_string(kReportCapBytes) +
        " bytes and was cut there");
    return kAttention;
}

const app::ExportFormat* TableFormat(const std::string& format, bool checkOrExplain) {
    const app::ExportFormat* const table = app::FindExportFormat(format);
    if (table && checkOrExplain) throw Trouble{"--format " + format + " is for the report's tables, not with --check or --explain"};
    if (table && table->binary && StdoutIsTerminal()) {
        throw Trouble{format + " is a binary file: redirect standard output to a file (> report." + std::string(table->suffix) + ")"};
    }
    return table;
}

void WriteTableFile(const app::ExportFormat& format, bool gbk, const std::function<std::string(std::string& error)>& write) {
    std::string error;
    std::string file;
    {
        const QuietStderr quiet;  // a writer's library may print its own lines there (libxlsxwriter does)
        file = write(error);
    }
    if (!error.empty()) throw Trouble{error};
    if (format.binary) {
        WriteBytes(file);
    } else {
        WriteOut(file, gbk ? codec::OutputEncoding::Gbk : codec::OutputEncoding::Utf8);
    }
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

}  // namespace quillon::cli
