#include "scoring/level.hpp"

#include <algorithm>

#include "scoring/tally.hpp"

namespace quillon {
namespace {

// The unit scores a level set-up's argument of 1 (each unit's weight) or 2 (not entered or not
// assessed) sets at a level.
constexpr std::array<double, kMaxUnitsPerLayer> InitialScores(const std::array<double, kMaxUnitsPerLayer>& weights, int x) {
    std::array<double, kMaxUnitsPerLayer> scores{};
    for (unsigned j = 0; j < scores.size(); ++j) {
        scores[j] = x == 1 ? weights[j] : (weights[j] > ApplicableThreshold ? NotEnteredMark : NotAssessedMark);
    }
    return scores;
}

// Their tallies, worked out once when the program is built: a level set-up only copies them.
using LevelTallies = std::array<std::array<std::array<RowTally, kLayerCount>, 2>, kLevelCount>;
constexpr LevelTallies kInitialTallies = [] {
    LevelTallies tallies{};
    for (int level = 1; level <= kLevelCount; ++level) {
        for (int x = 1; x <= 2; ++x) {
            for (int k = 0; k < kLayerCount; ++k) {
                const int n = kUnitCountString[static_cast<unsigned>(k)] - '0';
                tallies[static_cast<unsigned>(level - 1)][static_cast<unsigned>(x - 1)][static_cast<unsigned>(k)] =
                    TallyRow(LevelUnitWeights[static_cast<unsigned>(level - 1)][static_cast<unsigned>(k)],
                             InitialScores(LevelUnitWeights[static_cast<unsigned>(level - 1)][static_cast<unsigned>(k)], x), n);
            }
        }
    }
    return tallies;
}();

}  // namespace

void SelectLevel(ScoreStore& store, int level) {
    // Only this function writes the level and its weights: the same level has them already.
    if (store.AssessmentLevel == level) return;
    store.UnitWeights = LevelUnitWeights[static_cast<unsigned>(level - 1)];
    store.UnitCountString.fill('\0');
    std::copy(kUnitCountString.begin(), kUnitCountString.end(), store.UnitCountString.begin());
    store.AssessmentLevel = level;
}

void InitLevel(ScoreStore& store, int level, std::int32_t x, const Diagnostics& trace) {
    if (level >= 1 && level <= kLevelCount) SelectLevel(store, level);
    if (x == 1 || x == 2) {
        const int level = store.AssessmentLevel;
        // Without a level selected yet, only the weights in force are known.
        const bool known = level >= 1 && level <= kLevelCount;
        for (int k = 0; k < kLayerCount; ++k) {
            auto& scores = store.LayerRows[static_cast<unsigned>(k)].UnitScores;
            const auto& weights = store.UnitWeights[static_cast<unsigned>(k)];
            scores = x == 1 ? weights : InitialScores(weights, x);  // 1: each unit's weight
            if (trace.enabled() || !known) {
                TallyLayer(store, k, trace);  // the same tally, with its trace lines
            } else {
                ApplyTally(store, k, kInitialTallies[static_cast<unsigned>(level - 1)][static_cast<unsigned>(x - 1)][static_cast<unsigned>(k)]);
            }
        }
    }
    if (!store.UnitTalliesUnset) {
        for (auto& layer : store.UnitTallies) {
            for (auto& record : layer) record.fill(-1);
        }
        store.UnitTalliesUnset = true;
    }
}

}  // namespace quillon
