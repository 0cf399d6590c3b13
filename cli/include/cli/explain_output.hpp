// --explain --format json: what each unit costs the total, and --assume's total.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/explain_text.hpp"
#include "scoring/explain.hpp"
#include "scoring/score_store.hpp"

namespace quillon::cli {

nlohmann::ordered_json ExplanationJson(const ScoreStore& lastReport, const Explanation& e, const app::AssumedUnits* assumed,
                                       std::uint32_t flags);

}  // namespace quillon::cli
