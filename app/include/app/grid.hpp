// A table of words and figures for the exports that have no single report behind them (the
// several scripts' summary, a comparison). Each cell holds its text as printed and, for a figure,
// the number a workbook stores.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scoring/report_tables.hpp"

namespace quillon::app {

struct GridCell {
    std::string text;
    std::optional<double> number;  // the figure the text shows
    int decimals = 0;
    bool sameAsAbove = false;  // one cell with the one above it (a document merges them)
};

struct Grid {
    std::string title;  // the line above the table
    std::string sheet;  // the workbook's sheet: at most 31 characters, none of []:*?/\ .
    std::vector<std::string> header;
    std::vector<std::vector<GridCell>> rows;
};

GridCell TextCell(std::string text);
// The figure with `decimals`, as the report prints it; a word (inf) stays text.
GridCell FigureCell(double value, int decimals);
GridCell CountCell(long long count);
// A change: "+" before a rise, nothing before 0.
GridCell ChangeCell(std::optional<double> change, int decimals);

// A script's tables under the name it was read by.
struct NamedTables {
    std::string name;
    ScoreTables tables;
};

// One report's tables as an assessment report prints them: the total, the counts, the layer
// summary and table 5-2 (a layer's name and score one cell over its units).
std::vector<Grid> ReportGrids(const ScoreTables& tables);

// One row per script: file, level, total, rounded total, the groups' points and the three counts.
Grid SummaryGrid(const std::vector<NamedTables>& scripts);

}  // namespace quillon::app
