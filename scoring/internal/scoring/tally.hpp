// The layer tally: one layer's unit scores become its weighted layer score or a layer marker.
#pragma once

#include <array>

#include "scoring/diagnostics.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

struct RowTally {
    double weightedSum = 0;
    double weightSum = 0;
    double counted = 0;
    double layerScore = NoUnitCountedMark;
    int notEntered = 0;  // units holding NotEnteredMark
};

// Over the units whose weight is above ApplicableThreshold and whose score is above -0.5, in
// unit order: the weight sum, the weighted sum, their number and the layer score; -3.0 when a
// counted unit holds NoObjectScore, -1.0 when none is counted. Also evaluated at compile time
// for the level set-ups, so its results are those of the run, bit for bit.
static_assert(NotEnteredMark < CountedScoreFloor);
constexpr RowTally TallyRow(const std::array<double, kMaxUnitsPerLayer>& weights,
                            const std::array<double, kMaxUnitsPerLayer>& scores, int n) {
    RowTally t;
    bool holdsNoObjectScore = false;
    for (int j = 0; j < n; ++j) {
        const double w = weights[static_cast<unsigned>(j)];
        const double s = scores[static_cast<unsigned>(j)];
        if (w <= ApplicableThreshold) continue;
        if (s > CountedScoreFloor) {
            t.weightSum += w;
            t.counted += 1;
            t.weightedSum += s * w;
            holdsNoObjectScore |= HoldsNoObjectScore(s);
        } else if (IsNotEntered(s)) {  // the marker lies below the floor
            ++t.notEntered;
        }
    }
    if (holdsNoObjectScore) {
        t.layerScore = NoObjectLayerMark;
    } else if (t.counted > 0) {
        t.layerScore = t.weightedSum / t.weightSum;
    }
    return t;
}

// Stores a tally in layer row k and adds its not-entered units to NotEnteredCount.
inline void ApplyTally(ScoreStore& store, int k, const RowTally& t) {
    LayerRow& row = store.LayerRows[static_cast<unsigned>(k)];
    row.WeightedSum = t.weightedSum;
    row.WeightSum = t.weightSum;
    row.CountedUnits = t.counted;
    row.LayerScore = t.layerScore;
    store.NotEnteredCount += t.notEntered;
}

// The trace lines of a layer tally: the applicable units it leaves out.
void TraceTally(const ScoreStore& store, int k, const Diagnostics& trace);

// Re-tallies layer index k (0 is layer 1) and adds its not-entered units to NotEnteredCount.
inline void TallyLayer(ScoreStore& store, int k, const Diagnostics& trace) {
    if (trace.enabled()) TraceTally(store, k, trace);
    ApplyTally(store, k, TallyRow(store.UnitWeights[static_cast<unsigned>(k)], store.LayerRows[static_cast<unsigned>(k)].UnitScores,
                                  store.UnitCount(k)));
}

}  // namespace quillon
