// A comparison before and after rectification, in words: as text for the tool and the views, and
// as tables for the exports.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/grid.hpp"
#include "scoring/compare.hpp"

namespace quillon::app {

// 不符合, 部分符合, 符合; empty for a unit not counted.
std::string_view ComplianceWord(Compliance c);

// A unit's score as the layer lines print it: the figure, or the marker's word at `level`.
std::string UnitScoreWord(double score, int level);

// The heading of every view of a comparison.
inline constexpr std::string_view kComparisonHeading = "整改前后的比较";

// The sentence that says the levels differ; empty when they agree.
std::string LevelDiffers(const Comparison& c);

// The text, lines ending with LF; the scripts as their names say.
std::string ComparisonText(const Comparison& c, const std::string& beforeName, const std::string& afterName);

// The tables: the totals and counts, the layers, the units, the units that moved.
std::vector<Grid> ComparisonGrids(const Comparison& c, const std::string& beforeName, const std::string& afterName);

}  // namespace quillon::app
