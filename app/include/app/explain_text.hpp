// What each unit costs the total, in words: the gains from the largest, the layers' losses and
// the total with a chosen set of units compliant. The tool prints it, the window and the page
// show it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scoring/explain.hpp"
#include "scoring/score_store.hpp"

namespace quillon::app {

// "4.3,7.4" as units, or the first word that names no unit the last report counted.
struct AssumedUnits {
    std::vector<UnitRef> units;
    std::string error;
};
AssumedUnits ParseAssumedUnits(const std::string& list, const ScoreStore& lastReport);

struct Assumption {
    double total = 0;       // with the units compliant together
    double sumOfGains = 0;  // of their single gains, for comparison
};
Assumption Assume(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits& assumed, std::uint32_t flags);

extern const char* const kGainsDoNotAddUp;

// The decimals of the explanation's scores, gains, totals and losses.
inline constexpr int kExplainDecimals = 4;

std::string ExplanationText(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits* assumed,
                            std::uint32_t flags);

}  // namespace quillon::app
