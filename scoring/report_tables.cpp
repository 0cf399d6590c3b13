#include "scoring/report_tables.hpp"

#include "scoring/model.hpp"
#include "scoring/report.hpp"
#include "scoring/rounding.hpp"
#include "scoring/text_format.hpp"

namespace quillon {
ScoreTables TablesOf(const ScoreStore& store) {
    ScoreTables t;
    t.level = store.AssessmentLevel;
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& row = store.LayerRows[static_cast<unsigned>(k)];
        const std::string name(LayerName(k));
        for (int j = 0; j < store.UnitCount(k); ++j) {
            const double s = row.UnitScores[static_cast<unsigned>(j)];
            t.units.push_back({k + 1, name, j + 1, std::string(UnitTitle(k + 1, j + 1)),
                               s >= -0.0001 ? Fixed(s, 0, 5) : std::string("\\"), j == 0 ? Fixed(row.LayerScore, 0, 5) : ""});
        }
        const bool technical = k < kTechnicalLayers;
        const double weightSum = technical ? store.TechWeightSum : store.MgmtWeightSum;
        const bool counted = row.LayerScore > CountedScoreFloor && weightSum > 0;
        t.layers.push_back({k + 1, name, technical ? "技术" : "管理", LayerWeights[static_cast<unsigned>(k)],
                            Fixed(row.LayerScore, 0, 6),
                            counted ? Fixed(LayerPoints(store, k, row.LayerScore), 0, 4) : std::string()});
    }
    t.nonCompliant = store.NonCompliantCount;
    t.partlyCompliant = store.PartlyCompliantCount;
    t.compliant = store.CompliantCount;
    t.notEntered = store.NotEnteredCount;
    t.technicalPoints = Fixed(GroupShare(TechnicalShare, store.TechWeightedSum, store.TechWeightSum), 0, 4);
    t.managementPoints = Fixed(GroupShare(ManagementShare, store.MgmtWeightedSum, store.MgmtWeightSum), 0, 4);
    t.total = Fixed(store.TotalScore, 0, 4);
    t.roundedTotal = Fixed(RoundTo2(store.TotalScore), 0, 3);
    return t;
}

}  // namespace quillon
