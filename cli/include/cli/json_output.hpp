// The tool's JSON: the results of a run's last report, and the problems of its account.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "script/account.hpp"
#include "scoring/report_tables.hpp"
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
// A unit's marker and a layer's, as the results name them ("not_applicable", "no_object", null).
nlohmann::ordered_json UnitMarkerJson(double score);
nlohmann::ordered_json LayerMarkerJson(double layerScore);

// A script's row of the several scripts' summary: file, level, totals, the groups' points, counts.
nlohmann::ordered_json SummaryRowJson(const std::string& file, const ScoreTables& tables);

nlohmann::ordered_json ProblemsJson(const std::string& file, const std::string& encoding, const ScriptAccount& account);

}  // namespace quillon::cli
