// The tool's JSON: the results of a run's last report, and the problems of its account.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "script/account.hpp"
#include "scoring/score_store.hpp"

namespace quillon::cli {

nlohmann::ordered_json ResultsJson(const ScoreStore& lastReport, bool reportTruncated);
nlohmann::ordered_json ProblemsJson(const std::string& file, const std::string& encoding, const ScriptAccount& account);

}  // namespace quillon::cli
