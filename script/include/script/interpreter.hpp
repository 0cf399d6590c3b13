// Running a script: the library's entry. A run resets the model to level 3, walks the script
// line by line, hands each command to its handler and collects the report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/account.hpp"
#include "scoring/diagnostics.hpp"
#include "scoring/limits.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

struct ScriptRun {
    std::string report;  // UTF-8, CR LF line ends
    bool reportTruncated = false;  // the report reached kReportCapBytes and was cut there
    ScoreStore store;    // the model as the last line left it
    // Kept only when asked for:
    ScriptAccount account;                // what every line was taken as, and its problems
    std::optional<ScoreStore> lastReport;  // the model as the last report left it
    std::uint32_t lastReportFlags = 0;     // and that report's flags
};

// What a run reads of a script: up to its first NUL, invalid UTF-8 repaired (each bad byte
// becomes U+FFFD), cut at kMaxScriptBytes.
struct ScriptText {
    explicit ScriptText(std::string_view script);
    // A decoder's text, which ended at a NUL character: its file held these bytes after it.
    ScriptText(std::string_view script, std::size_t fileBytesAfterNul);
    ScriptText(const ScriptText&) = delete;
    ScriptText& operator=(const ScriptText&) = delete;

    std::string_view text;
    std::size_t bytesAfterNul = 0;  // the bytes after the first NUL, never read
    bool cutAtLimit = false;

private:
    std::string repaired_;
};

// The script text (UTF-8; it ends at its first NUL byte) and the report it gives.
std::string ScoreScript(std::string_view script, DiagnosticSink sink = {});

// The same run, handing back the final state of the model too, and, with keepAccount, the
// account of every line and the model as the last report left it. The report is the same
// byte for byte either way. The account lists problems from line listFrom on.
ScriptRun InterpretScript(std::string_view script, DiagnosticSink sink = {}, bool keepAccount = false,
                          std::size_t listFrom = 1);
ScriptRun InterpretScript(const ScriptText& script, DiagnosticSink sink = {}, bool keepAccount = false,
                          std::size_t listFrom = 1);

}  // namespace quillon
