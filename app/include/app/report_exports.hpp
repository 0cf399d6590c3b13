// The last report's tables for an assessment report, as a spreadsheet's text or a printable
// page (the workbook is xlsx_export.hpp's). Figures show the digits the report prints.
#pragma once

#include <string>
#include <string_view>

#include <vector>

#include "app/grid.hpp"
#include "scoring/report_tables.hpp"

namespace quillon::app {

std::string TablesCsv(const ScoreTables& tables);
// The same after a UTF-8 byte-order mark, so that spreadsheets read it as UTF-8.
inline constexpr std::string_view kCsvUtf8Mark = "\xEF\xBB\xBF";
std::string TablesCsvForSpreadsheets(const ScoreTables& tables);
std::string TablesHtml(const ScoreTables& tables, const char* charset = "utf-8");

// Tables with no single report behind them: in CSV each grid's title, header and rows, a blank
// line between grids; as a page under `heading`.
std::string GridsCsv(const std::vector<Grid>& grids);
std::string GridsHtml(const std::vector<Grid>& grids, const std::string& heading, const char* charset = "utf-8");

// Several scripts: the summary, then each script's tables under its name.
std::string ScriptsCsv(const std::vector<NamedTables>& scripts);
std::string ScriptsHtml(const std::vector<NamedTables>& scripts, const char* charset = "utf-8");

// The words the exports print for what the tables hold as values: a layer's group, and a unit
// table 5-2 gives no score.
std::string_view GroupWord(LayerGroup group);
inline constexpr std::string_view kNoTableScore = "\\";
// Text as markup's character data: & < > " as their entities.
std::string MarkupEscaped(std::string_view text);
// A layer's weight in its group: 1, or 0.5 with its one decimal.
std::string WeightText(double weight);
inline constexpr std::string_view kTable52Title = "《商用密码应用安全性评估报告》表 5-2 整体测评结果的得分";

}  // namespace quillon::app
