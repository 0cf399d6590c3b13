// --compare --format json: each side as the results name its figures, and the changes.
#include "cli/compare_run.hpp"
#include "cli/json_output.hpp"
#include "scoring/model.hpp"

namespace quillon::cli {
namespace {

using Json = nlohmann::ordered_json;

Json Change(const std::optional<double>& change, int decimals) { return change ? Figure(*change, decimals) : Json(nullptr); }

Json ComplianceJson(Compliance c) {
    switch (c) {
        case Compliance::NonCompliant: return "non_compliant";
        case Compliance::PartlyCompliant: return "partly_compliant";
        case Compliance::Compliant: return "compliant";
        case Compliance::NotCounted: break;
    }
    return nullptr;
}

// A side's figures as the several scripts' summary has them, and its units not entered.
Json Side(const std::string& file, const ScoreTables& t) {
    Json side = SummaryRowJson(file, t);
    side["counts"]["not_entered"] = t.notEntered;
    return side;
}

Json UnitSide(double score, Compliance c) {
    return Json{{"score", UnitMarkerOf(score) == UnitMarker::None ? Figure(score, kReportScoreDecimals) : Json(nullptr)},
                {"marker", UnitMarkerJson(score)},
                {"compliance", ComplianceJson(c)}};
}

Json LayerSide(const ScoreTables::LayerRow& l) {
    const Json marker = LayerMarkerJson(l.score);
    return Json{{"score", marker.is_null() ? Figure(l.score, kReportScoreDecimals) : Json(nullptr)},
                {"marker", marker},
                {"points", l.points ? Figure(*l.points, kTablePointsDecimals) : Json(nullptr)}};
}

}  // namespace

Json ComparisonJson(const Comparison& c, const std::string& beforeName, const std::string& afterName) {
    Json layers = Json::array();
    for (std::size_t k = 0; k < c.layers.size(); ++k) {
        const auto& before = c.before.layers[k];
        layers.push_back({{"layer", before.layer},
                          {"name", std::string(before.name)},
                          {"group", before.group == LayerGroup::Technical ? "technical" : "management"},
                          {"before", LayerSide(before)},
                          {"after", LayerSide(c.after.layers[k])},
                          {"change", Change(c.layers[k].change, kReportScoreDecimals)},
                          {"points_change", Change(c.layers[k].pointsChange, kTablePointsDecimals)}});
    }
    Json units = Json::array();
    Json moved = Json::array();
    for (const Comparison::Unit& u : c.units) {
        units.push_back({{"layer", u.layer},
                         {"unit", u.unit},
                         {"title", std::string(u.title)},
                         {"before", UnitSide(u.before, u.complianceBefore)},
                         {"after", UnitSide(u.after, u.complianceAfter)},
                         {"change", Change(u.change, kReportScoreDecimals)}});
        if (u.moved()) {
            moved.push_back({{"layer", u.layer},
                             {"unit", u.unit},
                             {"title", std::string(u.title)},
                             {"from", ComplianceJson(u.complianceBefore)},
                             {"to", ComplianceJson(u.complianceAfter)}});
        }
    }
    return Json{{"before", Side(beforeName, c.before)},
                {"after", Side(afterName, c.after)},
                {"level_differs", c.levelDiffers()},
                {"changes",
                 {{"total", Figure(c.totalChange, kReportSumDecimals)},
                  {"rounded_total", Figure(c.roundedTotalChange, kReportRoundedTotalDecimals)},
                  {"technical_points", Figure(c.technicalChange, kTablePointsDecimals)},
                  {"management_points", Figure(c.managementChange, kTablePointsDecimals)}}},
                {"layers", layers},
                {"units", units},
                {"moved", moved}};
}

}  // namespace quillon::cli
