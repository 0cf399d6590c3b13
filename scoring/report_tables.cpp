#include "scoring/report_tables.hpp"

#include "scoring/rounding.hpp"

namespace quillon {

ScoreTables TablesOf(const ScoreStore& store) {
    ScoreTables t;
    t.level = store.AssessmentLevel;
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& row = store.LayerRows[static_cast<unsigned>(k)];
        for (int j = 0; j < store.UnitCount(k); ++j) {
            const double s = row.UnitScores[static_cast<unsigned>(j)];
            t.units.push_back({k + 1, LayerName(k), j + 1, UnitTitle(k + 1, j + 1),
                               TableShowsUnitScore(s) ? std::optional(s) : std::nullopt,
                               j == 0 ? std::optional(row.LayerScore) : std::nullopt});
        }
        const LayerGroup group = GroupOf(k);
        const double weightSum = group == LayerGroup::Technical ? store.TechWeightSum : store.MgmtWeightSum;
        const bool counted = row.LayerScore > CountedScoreFloor && weightSum > 0;
        t.layers.push_back({k + 1, LayerName(k), group, LayerWeights[static_cast<unsigned>(k)], row.LayerScore,
                            counted ? std::optional(LayerPoints(store, k, row.LayerScore)) : std::nullopt});
    }
    t.nonCompliant = store.NonCompliantCount;
    t.partlyCompliant = store.PartlyCompliantCount;
    t.compliant = store.CompliantCount;
    t.notEntered = store.NotEnteredCount;
    t.technicalPoints = GroupShare(TechnicalShare, store.TechWeightedSum, store.TechWeightSum);
    t.managementPoints = GroupShare(ManagementShare, store.MgmtWeightedSum, store.MgmtWeightSum);
    t.total = store.TotalScore;
    t.roundedTotal = RoundTo2(store.TotalScore);
    return t;
}

}  // namespace quillon
