// What each unit costs the total, in words: the gains from the largest, the layers' losses and
// the total with a chosen set of units compliant. The tool prints it whole; the views' 分析
// dialog lays its parts out around a list of the units to tick.
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

// Why the single gains do not add up; the tool follows it with how to assume several units.
extern const char* const kGainsDoNotAddUp;
extern const char* const kAssumeWithTheTool;

// The decimals of the explanation's scores, gains, totals and losses.
inline constexpr int kExplainDecimals = 4;

struct ExplanationParts {
    std::string head;               // the total, and what the rows are (or that there are none)
    std::string columns;            // the rows' column header; empty without rows
    std::vector<std::string> rows;  // each unit below 1, in the explanation's order
    std::string losses;             // the layers' losses, a line each
};
ExplanationParts PartsOf(const ScoreStore& lastReport, const Explanation& e);

// "假设 4.4、7.4 符合（得分 1），其余不变：总分 …；各单元单独的增分之和为 …。", one line.
std::string AssumptionText(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits& assumed,
                           std::uint32_t flags);

// The tool's text: the parts in a row, with the assumption when one is given.
std::string ExplanationText(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits* assumed,
                            std::uint32_t flags);

}  // namespace quillon::app
