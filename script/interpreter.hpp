// Running a script: the library's entry. A run resets the model to level 3, walks the script
// line by line, hands each command to its handler and collects the report.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scoring/account.hpp"
#include "scoring/diagnostics.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// A script is at most this long; a longer text is cut here.
inline constexpr std::size_t kMaxScriptBytes = 16777215;

struct ScriptRun {
    std::string report;  // UTF-8, CR LF line ends
    ScoreStore store;    // the model as the last line left it
    // Kept only when asked for:
    ScriptAccount account;                // what every line was taken as, and its problems
    std::optional<ScoreStore> lastReport;  // the model as the last report left it
};

// The script text (UTF-8; it ends at its first NUL byte) and the report it gives.
std::string ScoreScript(std::string_view script, DiagnosticSink sink = {});

// The same run, handing back the final state of the model too, and, with keepAccount, the
// account of every line and the model as the last report left it. The report is the same
// byte for byte either way.
ScriptRun InterpretScript(std::string_view script, DiagnosticSink sink = {}, bool keepAccount = false);

}  // namespace quillon
