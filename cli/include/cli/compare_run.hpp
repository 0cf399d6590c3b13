// --compare BEFORE AFTER: two scripts' last reports side by side.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/run_settings.hpp"
#include "scoring/compare.hpp"

namespace quillon::cli {

// Both scripts are read as any script is; one that cannot be read is told, and nothing is
// compared. The exit code: 2 then, else 1 when a report was cut, else 0.
int RunComparison(const std::string& before, const std::string& after, const RunSettings& settings);

// --compare --format json.
nlohmann::ordered_json ComparisonJson(const Comparison& c, const std::string& beforeName, const std::string& afterName);

}  // namespace quillon::cli
