// The tool's JSON: the results of a run's last report, and the problems of its account.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "script/account.hpp"
#include "scoring/score_store.hpp"

namespace quillon::cli {

// A figure as the text output prints it with `decimals`: 0.3333 for a rounded score the
// arithmetic holds as 0.33330000000000004. Null when the value is not finite.
nlohmann::ordered_json Figure(double value, int decimals);

// The JSON text, laid out as nlohmann's dump(2), a newline at its end; every number in the
// shortest form that reads back as the same double, a whole float with ".0". With `ascii`, every
// character past ASCII is written as \uXXXX, so that the bytes read the same in GBK and UTF-8.
std::string JsonText(const nlohmann::ordered_json& json, bool ascii = false);

nlohmann::ordered_json ResultsJson(const ScoreStore& lastReport, bool reportTruncated);
nlohmann::ordered_json ProblemsJson(const std::string& file, const std::string& encoding, const ScriptAccount& account);

}  // namespace quillon::cli
