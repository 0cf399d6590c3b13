#include "scoring/explain.hpp"

#include <algorithm>

#include "scoring/report.hpp"

namespace quillon {
namespace {

double& ScoreOf(ScoreStore& store, UnitRef u) {
    return store.LayerRows[static_cast<unsigned>(u.layer - 1)].UnitScores[static_cast<unsigned>(u.unit - 1)];
}

// The group sums of the report, per layer: the points lost below the group's share.
std::array<double, kLayerCount> LayerLoss(const ScoreStore& store) {
    std::array<double, kLayerCount> loss{};
    for (int k = 0; k < kLayerCount; ++k) {
        const double score = store.LayerRows[static_cast<unsigned>(k)].LayerScore;
        if (!(score > CountedScoreFloor)) continue;  // a layer marker leaves its group
        loss[static_cast<unsigned>(k)] = LayerPoints(store, k, 1 - score);
    }
    return loss;
}

}  // namespace

bool CountedUnit(const ScoreStore& lastReport, UnitRef u) {
    const int k = u.layer - 1;
    const int j = u.unit - 1;
    if (k < 0 || k >= kLayerCount || j < 0 || j >= lastReport.UnitCount(k)) return false;
    const double s = lastReport.LayerRows[static_cast<unsigned>(k)].UnitScores[static_cast<unsigned>(j)];
    return lastReport.UnitWeights[static_cast<unsigned>(k)][static_cast<unsigned>(j)] > ApplicableThreshold &&
           s > CountedScoreFloor && !HoldsNoObjectScore(s);
}

double TotalAssuming(const ScoreStore& lastReport, std::uint32_t flags, const std::vector<UnitRef>& compliant) {
    ScoreStore store = lastReport;
    for (const UnitRef& u : compliant) {
        if (CountedUnit(lastReport, u)) ScoreOf(store, u) = 1.0;
    }
    TallyTotals(store, flags, Diagnostics{});
    return store.TotalScore;
}

Explanation ExplainTotal(const ScoreStore& lastReport, std::uint32_t flags) {
    Explanation e;
    e.total = lastReport.TotalScore;
    e.layerLoss = LayerLoss(lastReport);
    e.technicalScored = lastReport.TechWeightSum > 0;
    e.managementScored = lastReport.MgmtWeightSum > 0;
    // What the total would be with every scored layer at 1, by the report's own rule for a group.
    e.outOf = GroupShare(TechnicalShare, lastReport.TechWeightSum, lastReport.TechWeightSum) +
              GroupShare(ManagementShare, lastReport.MgmtWeightSum, lastReport.MgmtWeightSum);
    for (int k = 0; k < kLayerCount; ++k) {
        for (int j = 0; j < lastReport.UnitCount(k); ++j) {
            const UnitRef unit{k + 1, j + 1};
            const double score = lastReport.LayerRows[static_cast<unsigned>(k)].UnitScores[static_cast<unsigned>(j)];
            if (!CountedUnit(lastReport, unit) || score >= 1.0) continue;
            UnitGain g;
            g.unit = unit;
            g.score = score;
            g.weight = lastReport.UnitWeights[static_cast<unsigned>(k)][static_cast<unsigned>(j)];
            g.total = TotalAssuming(lastReport, flags, {g.unit});
            g.gain = g.total - e.total;
            e.gains.push_back(g);
        }
    }
    std::stable_sort(e.gains.begin(), e.gains.end(), [](const UnitGain& a, const UnitGain& b) { return a.gain > b.gain; });
    return e;
}

}  // namespace quillon
