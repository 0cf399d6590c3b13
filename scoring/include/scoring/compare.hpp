// Two scripts' last reports side by side, before and after rectification: every unit and layer
// score, the points, the totals and the counts, with the changes. Numbers only; the words are the
// views'.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "scoring/report.hpp"
#include "scoring/report_tables.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

struct Comparison {
    struct Unit {
        int layer = 0;
        int unit = 0;
        std::string_view title;
        double before = 0;  // as the report holds it, a marker included
        double after = 0;
        Compliance complianceBefore = Compliance::NotCounted;
        Compliance complianceAfter = Compliance::NotCounted;
        std::optional<double> change;  // none unless both are scores the report prints as such

        // Counted on both sides, in another class: 不符合, 部分符合, 符合.
        bool moved() const {
            return complianceBefore != Compliance::NotCounted && complianceAfter != Compliance::NotCounted &&
                   complianceBefore != complianceAfter;
        }
    };
    struct Layer {
        std::optional<double> change;        // of the score; none when either side leaves the total
        std::optional<double> pointsChange;  // none when either side adds no points
    };
    // Each side's figures: its layers (score and points), counts and totals.
    ScoreTables before;
    ScoreTables after;
    std::vector<Unit> units;  // in layer and unit order
    std::vector<Layer> layers;  // beside before.layers and after.layers
    double technicalChange = 0;
    double managementChange = 0;
    double totalChange = 0;
    double roundedTotalChange = 0;

    bool levelDiffers() const { return before.level != after.level; }
};

// Each change is that of the two figures as they print (a reader's subtraction gives it exactly).
Comparison Compare(const ScoreStore& beforeReport, const ScoreStore& afterReport);

}  // namespace quillon
