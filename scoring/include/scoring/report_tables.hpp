// The report's results as the tables an assessment report takes (table 5-2, the layer summary,
// the counts and the totals), each value as the report prints it. Exports read these; the
// report itself is written by report.cpp and is never changed by them.
#pragma once

#include <string>
#include <vector>

#include "scoring/score_store.hpp"

namespace quillon {

struct ScoreTables {
    struct UnitRow {
        int layer = 0;
        std::string layerName;  // without its padding
        int unit = 0;
        std::string title;
        std::string unitScore;   // "0.50000", or "\" where table 5-2 has no score
        std::string layerScore;  // on the layer's first unit only, as table 5-2 has it
    };
    struct LayerRow {
        int layer = 0;
        std::string name;
        std::string group;   // "技术" or "管理"
        double weight = 0;   // of the layer in its group
        std::string score;   // as the layer line prints it: "0.645800"
        std::string points;  // what the layer adds to the total, 4 decimals; empty when it leaves it
    };
    int level = 0;
    std::vector<UnitRow> units;
    std::vector<LayerRow> layers;
    int nonCompliant = 0, partlyCompliant = 0, compliant = 0, notEntered = 0;
    std::string technicalPoints, managementPoints;  // "42.7710", "26.9088"
    std::string total;         // "69.6798"
    std::string roundedTotal;  // "69.680"
};

ScoreTables TablesOf(const ScoreStore& lastReport);

}  // namespace quillon
