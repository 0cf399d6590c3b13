// --explain: what each unit costs the total, as text and as JSON, and --assume's total.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "scoring/explain.hpp"
#include "scoring/score_store.hpp"

namespace quillon::cli {

// "4.3,7.4" as units, or the first word that names no unit of the level in force.
struct AssumedUnits {
    std::vector<UnitRef> units;
    std::string error;
};
AssumedUnits ParseAssumedUnits(const std::string& list, const ScoreStore& lastReport);

std::string ExplanationText(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits* assumed,
                            std::uint32_t flags);
nlohmann::ordered_json ExplanationJson(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits* assumed,
                                       std::uint32_t flags);

}  // namespace quillon::cli
