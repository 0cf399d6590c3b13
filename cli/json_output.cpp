#include "cli/json_output.hpp"

#include "scoring/model.hpp"
#include "scoring/rounding.hpp"

namespace quillon::cli {
namespace {

using Json = nlohmann::ordered_json;

// A unit's marker as the report shows it, or null for a score.
Json UnitMarker(double s) {
    if (s > -8.01 && s < -7.99) return "not_assessed";
    if (s > -5.01 && s < -4.99) return "not_entered";
    if (s > -1.01 && s < -0.99) return "not_applicable";
    if (s > NoObjectThreshold) return "no_object";
    return nullptr;
}

Json LayerMarker(double score) {
    if (score > CountedScoreFloor) return nullptr;
    return score > -3.01 && score < -2.99 ? "no_object" : "no_unit_counted";
}

}  // namespace

Json ResultsJson(const ScoreStore& store, bool reportTruncated) {
    Json layers = Json::array();
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& row = store.LayerRows[static_cast<unsigned>(k)];
        Json units = Json::array();
        for (int j = 0; j < store.UnitCount(k); ++j) {
            const double s = row.UnitScores[static_cast<unsigned>(j)];
            const Json marker = UnitMarker(s);
            units.push_back({{"unit", j + 1},
                             {"title", std::string(UnitTitle(k + 1, j + 1))},
                             {"weight", store.UnitWeights[static_cast<unsigned>(k)][static_cast<unsigned>(j)]},
                             {"score", marker.is_null() ? Json(s) : Json(nullptr)},
                             {"marker", marker}});
        }
        const Json marker = LayerMarker(row.LayerScore);
        layers.push_back({{"layer", k + 1},
                          {"name", std::string(LayerName(k))},
                          {"group", k < kTechnicalLayers ? "technical" : "management"},
                          {"weight", LayerWeights[static_cast<unsigned>(k)]},
                          {"score", marker.is_null() ? Json(row.LayerScore) : Json(nullptr)},
                          {"marker", marker},
                          {"units", units}});
    }
    return Json{{"level", store.AssessmentLevel},
                {"layers", layers},
                {"technical", {{"weighted_sum", store.TechWeightedSum}, {"weight_sum", store.TechWeightSum}}},
                {"management", {{"weighted_sum", store.MgmtWeightedSum}, {"weight_sum", store.MgmtWeightSum}}},
                {"total", store.TotalScore},
                {"rounded_total", RoundTo2(store.TotalScore)},
                {"counts",
                 {{"non_compliant", store.NonCompliantCount},
                  {"partly_compliant", store.PartlyCompliantCount},
                  {"compliant", store.CompliantCount},
                  {"not_entered", store.NotEnteredCount}}},
                {"report_truncated", reportTruncated}};
}

Json ProblemsJson(const std::string& file, const std::string& encoding, const ScriptAccount& account) {
    const auto entries = [](const std::vector<Problem>& list) {
        Json out = Json::array();
        for (const Problem& p : list) {
            out.push_back({{"line", p.line},
                           {"column", p.column > 0 ? Json(p.column) : Json(nullptr)},
                           {"end_column", p.column > 0 ? Json(p.endColumn) : Json(nullptr)},
                           {"taken_as", std::string(LineKindName(p.takenAs))},
                           {"code", std::string(p.code)},
                           {"message", p.message}});
        }
        return out;
    };
    Json unlisted = Json::object();
    for (const auto& [code, count] : account.unlisted) unlisted[std::string(code)] = count;
    return Json{{"file", file},
                {"encoding", encoding},
                {"problems", entries(account.problems)},
                {"unlisted", unlisted},
                {"notes", entries(account.notes)},
                {"unlisted_notes", account.unlistedNotes}};
}

}  // namespace quillon::cli
