// What each unit costs the total: the model as the last report left it, run again with one unit
// (or a chosen set) scored 1 and everything else unchanged. Beside the report; it never changes
// a byte of it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "scoring/model.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

struct UnitRef {
    int layer = 0;  // 1 to 8
    int unit = 0;   // 1 to the layer's unit count
    bool operator==(const UnitRef&) const = default;
};

struct UnitGain {
    UnitRef unit;
    double score = 0;   // as the last report counted it
    double weight = 0;  // at the level in force
    double total = 0;   // the total with this unit scored 1
    double gain = 0;    // total - the report's total
};

struct Explanation {
    double total = 0;  // the last report's
    // Every counted unit below 1, the largest gain first (ties in unit order).
    std::vector<UnitGain> gains;
    // The points each layer loses below its group's full share.
    std::array<double, kLayerCount> layerLoss{};
    // A group without a scored layer gives no points at all, so the total is out of less than
    // 100 and the losses add up to outOf - total.
    bool technicalScored = true;
    bool managementScored = true;
    double outOf = 100;
};

// flags: those of the last report, so that rounding is applied as it was.
Explanation ExplainTotal(const ScoreStore& lastReport, std::uint32_t flags);

// Whether the last report counted the unit's score in its layer: the layer has the unit, the
// level assesses it, and its score is no marker and no NoObjectScore. Only such a unit has a
// gain to assume.
bool CountedUnit(const ScoreStore& lastReport, UnitRef u);

// The total with every counted unit of `compliant` scored 1; the others change nothing.
double TotalAssuming(const ScoreStore& lastReport, std::uint32_t flags, const std::vector<UnitRef>& compliant);

}  // namespace quillon
