// The report's results as the tables an assessment report takes (table 5-2, the layer summary,
// the counts and the totals), as numbers. Exports read these and print each figure with the
// decimals the report gives it; the report itself is written by report.cpp and is never changed
// by them.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "scoring/model.hpp"
#include "scoring/report.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// The decimals of a layer's and a group's points in the total: those of the total itself.
inline constexpr int kTablePointsDecimals = kReportSumDecimals;

struct ScoreTables {
    struct UnitRow {
        int layer = 0;
        std::string_view layerName;  // without its padding
        int unit = 0;
        std::string_view title;
        std::optional<double> unitScore;   // none where table 5-2 has no score (TableShowsUnitScore)
        std::optional<double> layerScore;  // on the layer's first unit only, as table 5-2 has it
    };
    struct LayerRow {
        int layer = 0;
        std::string_view name;
        LayerGroup group = LayerGroup::Technical;
        double weight = 0;              // of the layer in its group
        double score = 0;               // as the layer line has it (kReportScoreDecimals)
        std::optional<double> points;   // what the layer adds to the total; none when it leaves it
    };
    int level = 0;
    std::vector<UnitRow> units;
    std::vector<LayerRow> layers;
    int nonCompliant = 0, partlyCompliant = 0, compliant = 0, notEntered = 0;
    double technicalPoints = 0, managementPoints = 0;  // 42.7710, 26.9088
    double total = 0;                                  // 69.6798 (kReportSumDecimals)
    double roundedTotal = 0;                           // 69.680 (kReportRoundedTotalDecimals)
};

ScoreTables TablesOf(const ScoreStore& lastReport);

}  // namespace quillon
