#include "cli/explain_output.hpp"

#include "scoring/model.hpp"
#include "scoring/rounding.hpp"

namespace quillon::cli {
namespace {

using Json = nlohmann::ordered_json;

}  // namespace

Json ExplanationJson(const ScoreStore& lastReport, const Explanation& e, const app::AssumedUnits* assumed, std::uint32_t flags) {
    Json units = Json::array();
    for (const UnitGain& g : e.gains) {
        units.push_back({{"layer", g.unit.layer},
                         {"unit", g.unit.unit},
                         {"title", std::string(UnitTitle(g.unit.layer, g.unit.unit))},
                         {"score", g.score},
                         {"weight", g.weight},
                         {"gain", g.gain},
                         {"total", g.total}});
    }
    Json layers = Json::array();
    for (int k = 0; k < kLayerCount; ++k) {
        layers.push_back({{"layer", k + 1},
                          {"name", std::string(LayerName(k))},
                          {"lost", e.layerLoss[static_cast<unsigned>(k)]}});
    }
    Json out{{"level", lastReport.AssessmentLevel},
             {"total", e.total},
             {"rounded_total", RoundTo2(e.total)},
             {"units", units},
             {"gains_add_up", false},
             {"note", app::kGainsDoNotAddUp},
             {"layers", layers}};
    if (assumed != nullptr) {
        const app::Assumption a = app::Assume(lastReport, e, *assumed, flags);
        Json chosen = Json::array();
        for (const UnitRef& u : assumed->units) chosen.push_back({{"layer", u.layer}, {"unit", u.unit}});
        out["assumed"] = {{"units", chosen},
                          {"total", a.total},
                          {"rounded_total", RoundTo2(a.total)},
                          {"gain", a.total - e.total},
                          {"sum_of_gains", a.sumOfGains}};
    }
    return out;
}

}  // namespace quillon::cli
