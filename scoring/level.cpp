#include "scoring/level.hpp"

#include <algorithm>

#include "scoring/tally.hpp"

namespace quillon {

void SelectLevel(ScoreStore& store, int level) {
    store.UnitWeights = LevelUnitWeights[static_cast<unsigned>(level - 1)];
    store.UnitCountString.fill('\0');
    std::copy(kUnitCountString.begin(), kUnitCountString.end(), store.UnitCountString.begin());
    store.AssessmentLevel = level;
}

void InitLevel(ScoreStore& store, std::string_view line, std::int32_t x,
               const Diagnostics& diagnostics) {
    constexpr std::string_view prefix = "mpinit=";
    if (line.size() >= 8 && line.substr(0, 7) == prefix && line[7] >= '1' && line[7] <= '4') {
        SelectLevel(store, line[7] - '0');
    }
    if (x == 1 || x == 2) {
        for (int k = 0; k < kLayerCount; ++k) {
            auto& scores = store.LayerRows[static_cast<unsigned>(k)].UnitScores;
            const auto& weights = store.UnitWeights[static_cast<unsigned>(k)];
            for (int j = 0; j < kMaxUnitsPerLayer; ++j) {
                const double w = weights[static_cast<unsigned>(j)];
                scores[static_cast<unsigned>(j)] =
                    x == 1 ? w : (w > ApplicableThreshold ? NotEnteredMark : NotAssessedMark);
            }
            TallyLayer(store, k, diagnostics);
        }
    }
    for (auto& layer : store.UnitTallies) {
        for (auto& record : layer) record.fill(-1);
    }
}

}  // namespace quillon
