// The state of one script run: level in force, weights, unit scores, layer tallies and the
// results of the last report. Each run owns one; nothing here is shared between runs.
#pragma once

#include <array>
#include <cstdint>

#include "scoring/model.hpp"

namespace quillon {

struct LayerRow {
    std::array<double, kMaxUnitsPerLayer> UnitScores{};
    double WeightedSum = 0;
    double WeightSum = 0;
    double CountedUnits = 0;  // a whole number kept as a double
    double LayerScore = 0;

    bool operator==(const LayerRow&) const = default;
};

// Compliant, partly compliant, non-compliant, not applicable, counted objects, score in
// thousandths; the last two integers are never written.
using UnitTally = std::array<std::int32_t, 8>;

struct ScoreStore {
    std::array<char, 16> UnitCountString{};
    std::int32_t AssessmentLevel = 0;
    std::int32_t NotEnteredCount = 0;
    std::int32_t NonCompliantCount = 0;
    std::int32_t PartlyCompliantCount = 0;
    std::int32_t CompliantCount = 0;
    double TotalScore = 0;
    double TechWeightedSum = 0;
    double TechWeightSum = 0;
    double MgmtWeightedSum = 0;
    double MgmtWeightSum = 0;
    std::array<LayerRow, kLayerCount> LayerRows{};
    std::array<std::array<UnitTally, kMaxUnitsPerLayer>, kLayerCount> UnitTallies{};
    // True while every unit tally record is unset (-1), so a level set-up need not reset them
    // again; whoever writes a record clears it.
    bool UnitTalliesUnset = false;
    LevelTable UnitWeights = LevelUnitWeights[2];  // level 3 until a level is selected

    // Unit count of layer index k (0-based) as the count string says; 0 before any level.
    int UnitCount(int k) const {
        const int n = UnitCountString[static_cast<unsigned>(k)] - '0';
        return n < 0 ? 0 : (n > kMaxUnitsPerLayer ? kMaxUnitsPerLayer : n);
    }

    // Every field, a field added later included.
    bool operator==(const ScoreStore&) const = default;
};

}  // namespace quillon
