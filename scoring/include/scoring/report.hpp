// The score report: re-tally every layer, form the total out of 100, count compliance and
// append the layer lines, the summary and optionally table 5-2.
#pragma once

#include <cstdint>
#include <string_view>

#include "scoring/diagnostics.hpp"
#include "scoring/report_text.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// The decimals of the report's figures: unit and layer scores in the layer lines, the total and
// the group sums in the summary, and the rounded total.
inline constexpr int kReportScoreDecimals = 6;
inline constexpr int kReportSumDecimals = 4;
inline constexpr int kReportRoundedTotalDecimals = 3;
// Table 5-2's unit and layer scores.
inline constexpr int kTableScoreDecimals = 5;

// What a report computes before it writes: every layer re-tallied (after rounding the unit
// scores when flags ask), the layer scores rounded when asked, the group sums, the total and the
// compliance counts. flags: the ReportFlags.
void TallyTotals(ScoreStore& store, std::uint32_t flags, const Diagnostics& diagnostics);

// The word the layer lines print for a marked unit at `level`; empty for UnitMarker::None.
std::string_view UnitMarkerWord(UnitMarker marker, int level);

// How the report counts a unit: a unit the level assesses with a score in one of the three
// windows is counted once; any other (not applicable, not entered, a marker, above 1) is not.
enum class Compliance { NotCounted, NonCompliant, PartlyCompliant, Compliant };
Compliance ComplianceOf(double weight, double score);

// A group's points in the total: its share of 100 times the weighted mean of its layers.
double GroupShare(double share, double weightedSum, double weightSum);

// The points layer index k adds to the total at layer score `score`, as the store's group sums
// stand (the caller checks that its group has a scored layer).
double LayerPoints(const ScoreStore& store, int k, double score);

// A forced level 1 to 4 is switched in first (0: the level in force). flags: the ReportFlags.
// The caller tells of a forced level in the report, before it.
void WriteScoreReport(ScoreStore& store, int forcedLevel, ReportText& report, std::uint32_t flags,
                      const Diagnostics& diagnostics);

}  // namespace quillon
