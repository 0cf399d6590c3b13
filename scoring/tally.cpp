#include "scoring/tally.hpp"

#include <string>

#include "scoring/text_format.hpp"

namespace quillon {

void TallyLayer(ScoreStore& store, int k, const Diagnostics& diagnostics) {
    const int n = store.UnitCount(k);
    if (diagnostics.enabled()) {
        std::string line = "len=";
        AppendInt(line, n);
        line += " len2=";
        AppendInt(line, n);
        line += '\n';
        diagnostics.write(line);
    }
    LayerRow& row = store.LayerRows[static_cast<unsigned>(k)];
    const auto& weights = store.UnitWeights[static_cast<unsigned>(k)];
    double weightedSum = 0;
    double weightSum = 0;
    double counted = 0;
    bool holdsNoObjectScore = false;
    for (int j = 0; j < n; ++j) {
        const double w = weights[static_cast<unsigned>(j)];
        const double s = row.UnitScores[static_cast<unsigned>(j)];
        if (w <= ApplicableThreshold) continue;
        if (s > CountedScoreFloor) {
            weightSum += w;
            counted += 1;
            weightedSum += s * w;
            if (s > NoObjectThreshold) holdsNoObjectScore = true;
        } else if (diagnostics.enabled()) {
            std::string line = "tj :k=";
            AppendInt(line, k);
            line += " i=";
            AppendInt(line, j, 6);
            line += " err\n";
            diagnostics.write(line);
        }
        if (s >= -5.01 && s <= -4.99) ++store.NotEnteredCount;
    }
    row.WeightedSum = weightedSum;
    row.WeightSum = weightSum;
    row.CountedUnits = counted;
    if (holdsNoObjectScore) {
        row.LayerScore = NoObjectLayerMark;
    } else if (counted > 0) {
        row.LayerScore = weightedSum / weightSum;
    } else {
        row.LayerScore = NoUnitCountedMark;
    }
}

}  // namespace quillon
