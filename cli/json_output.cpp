#include "cli/json_output.hpp"

#include <charconv>
#include <cmath>

#include "scoring/model.hpp"
#include "scoring/report.hpp"
#include "scoring/rounding.hpp"
#include "scoring/text_format.hpp"

namespace quillon::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string NumberText(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[400];
    // Fixed notation up to 1e21, as JavaScript writes numbers; beyond it the exponent form.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (std::fabs(value) >= 1e21 || result.ec != std::errc{}) result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

void Write(std::string& out, const Json& json, int depth, bool ascii) {
    const std::string indent(static_cast<std::size_t>(2 * (depth + 1)), ' ');
    const auto close = [&](char bracket) {
        out += '\n';
        out.append(static_cast<std::size_t>(2 * depth), ' ');
        out += bracket;
    };
    if (json.is_object() && !json.empty()) {
        out += '{';
        bool first = true;
        for (const auto& [key, value] : json.items()) {
            out += first ? "\n" : ",\n";
            first = false;
            out += indent + Json(key).dump(-1, ' ', ascii) + ": ";
            Write(out, value, depth + 1, ascii);
        }
        close('}');
    } else if (json.is_array() && !json.empty()) {
        out += '[';
        bool first = true;
        for (const Json& value : json) {
            out += first ? "\n" : ",\n";
            first = false;
            out += indent;
            Write(out, value, depth + 1, ascii);
        }
        close(']');
    } else if (json.is_number_float()) {
        out += NumberText(json.get<double>());
    } else {
        out += json.dump(-1, ' ', ascii);
    }
}

}  // namespace

// A unit's marker: the words the report prints instead of the score, or the no-object score,
// which the report prints as a number and which takes its layer out of the total.
Json UnitMarkerJson(double s) {
    switch (UnitMarkerOf(s)) {
        case UnitMarker::NotAssessed: return "not_assessed";
        case UnitMarker::NotEntered: return "not_entered";
        case UnitMarker::NotApplicable: return "not_applicable";
        case UnitMarker::None: break;
    }
    return HoldsNoObjectScore(s) ? Json("no_object") : Json(nullptr);
}

Json LayerMarkerJson(double score) {
    if (score > CountedScoreFloor) return nullptr;
    return IsNoObjectLayerMark(score) ? "no_object" : "no_unit_counted";
}

Json SummaryRowJson(const std::string& file, const ScoreTables& t) {
    return Json{{"file", file},
                {"level", t.level},
                {"total", Figure(t.total, kReportSumDecimals)},
                {"rounded_total", Figure(t.roundedTotal, kReportRoundedTotalDecimals)},
                {"technical_points", Figure(t.technicalPoints, kTablePointsDecimals)},
                {"management_points", Figure(t.managementPoints, kTablePointsDecimals)},
                {"counts",
                 {{"non_compliant", t.nonCompliant}, {"partly_compliant", t.partlyCompliant}, {"compliant", t.compliant}}}};
}

Json Figure(double value, int decimals) {
    const std::optional<double> shown = PrintedFigure(value, decimals);
    return shown ? Json(*shown) : Json(nullptr);
}

std::string JsonText(const Json& json, bool ascii) {
    std::string out;
    Write(out, json, 0, ascii);
    return out + "\n";
}

Json ResultsJson(const ScoreStore& store, bool reportTruncated) {
    Json layers = Json::array();
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& row = store.LayerRows[static_cast<unsigned>(k)];
        Json units = Json::array();
        for (int j = 0; j < store.UnitCount(k); ++j) {
            const double s = row.UnitScores[static_cast<unsigned>(j)];
            units.push_back({{"unit", j + 1},
                             {"title", std::string(UnitTitle(k + 1, j + 1))},
                             {"weight", store.UnitWeights[static_cast<unsigned>(k)][static_cast<unsigned>(j)]},
                             {"score", UnitMarkerOf(s) == UnitMarker::None ? Figure(s, kReportScoreDecimals) : Json(nullptr)},
                             {"marker", UnitMarkerJson(s)}});
        }
        const Json marker = LayerMarkerJson(row.LayerScore);
        layers.push_back({{"layer", k + 1},
                          {"name", std::string(LayerName(k))},
                          {"group", GroupOf(k) == LayerGroup::Technical ? "technical" : "management"},
                          {"weight", LayerWeights[static_cast<unsigned>(k)]},
                          {"score", marker.is_null() ? Figure(row.LayerScore, kReportScoreDecimals) : Json(nullptr)},
                          {"marker", marker},
                          {"units", units}});
    }
    return Json{{"level", store.AssessmentLevel},
                {"layers", layers},
                {"technical", {{"weighted_sum", Figure(store.TechWeightedSum, kReportSumDecimals)},
                               {"weight_sum", Figure(store.TechWeightSum, kReportSumDecimals)}}},
                {"management", {{"weighted_sum", Figure(store.MgmtWeightedSum, kReportSumDecimals)},
                                {"weight_sum", Figure(store.MgmtWeightSum, kReportSumDecimals)}}},
                {"total", Figure(store.TotalScore, kReportSumDecimals)},
                {"rounded_total", Figure(RoundTo2(store.TotalScore), kReportRoundedTotalDecimals)},
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
