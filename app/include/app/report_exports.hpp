// The last report's tables for an assessment report, as a spreadsheet's text or a printable
// page (the workbook is xlsx_export.hpp's). Figures show the digits the report prints.
#pragma once

#include <string>
#include <string_view>

#include "scoring/report_tables.hpp"

namespace quillon::app {

std::string TablesCsv(const ScoreTables& tables);
// The same after a UTF-8 byte-order mark, so that spreadsheets read it as UTF-8.
std::string TablesCsvForSpreadsheets(const ScoreTables& tables);
std::string TablesHtml(const ScoreTables& tables, const char* charset = "utf-8");

// The words the exports print for what the tables hold as values: a layer's group, and a unit
// table 5-2 gives no score.
std::string_view GroupWord(LayerGroup group);
inline constexpr std::string_view kNoTableScore = "\\";

}  // namespace quillon::app
