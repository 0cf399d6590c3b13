// Scoring several scripts in one run, each as a run of one scores it.
#pragma once

#include <string>
#include <vector>

#include "cli/run_settings.hpp"

namespace quillon::cli {

// Text: each report under "==> FILE <==", a blank line between. --check: every file's problems
// in turn. JSON and the tables: a summary of the scripts first, then each one's results. A file
// that cannot be read is told and the others are scored; the exit code is the worst of them.
int RunSeveralScripts(const std::vector<std::string>& files, const RunSettings& settings);

}  // namespace quillon::cli
