#include "cli/explain_output.hpp"

#include "cli/json_output.hpp"
#include "scoring/model.hpp"
#include "scoring/report.hpp"
#include "scoring/rounding.hpp"

namespace quillon::cli {
namespace {

using Json = nlohmann::ordered_json;

// Every figure as --explain's text prints it.
Json Points(double value) { return Figure(value, app::kExplainDecimals); }
Json RoundedTotal(double total) { return Figure(RoundTo2(total), kReportRoundedTotalDecimals); }

}  // namespace

Json ExplanationJson(const ScoreStore& lastReport, const Explanation& e, const app::AssumedUnits* assumed, std::uint32_t flags) {
    Json units = Json::array();
    for (const UnitGain& g : e.gains) {
        units.push_back({{"layer", g.unit.layer},
                         {"unit", g.unit.unit},
                         {"title", std::string(UnitTitle(g.unit.layer, g.unit.unit))},
                         {"score", Points(g.score)},
                         {"weight", g.weight},
                         {"gain", Points(g.gain)},
                         {"total", Points(g.total)}});
    }
    Json layers = Json::array();
    for (int k = 0; k < kLayerCount; ++k) {
        layers.push_back({{"layer", k + 1},
                          {"name", std::string(LayerName(k))},
                          {"lost", Points(e.layerLoss[static_cast<unsigned>(k)])}});
    }
    Json unscored = Json::array();
    if (!e.technicalScored) unscored.push_back("technical");
    if (!e.managementScored) unscored.push_back("management");
    Json out{{"level", lastReport.AssessmentLevel},
             {"total", Points(e.total)},
             {"rounded_total", RoundedTotal(e.total)},
             {"units", units},
             {"gains_add_up", false},
             {"note", std::string(app::kGainsDoNotAddUp) + app::kAssumeWithTheTool},
             {"layers", layers},
             {"out_of", e.outOf},
             {"unscored_groups", unscored}};
    if (assumed != nullptr) {
        const app::Assumption a = app::Assume(lastReport, e, *assumed, flags);
        Json chosen = Json::array();
        for (const UnitRef& u : assumed->units) chosen.push_back({{"layer", u.layer}, {"unit", u.unit}});
        out["assumed"] = {{"units", chosen},
                          {"total", Points(a.total)},
                          {"rounded_total", RoundedTotal(a.total)},
                          {"gain", Points(a.total - e.total)},
                          {"sum_of_gains", Points(a.sumOfGains)}};
    }
    return out;
}

}  // namespace quillon::cli
