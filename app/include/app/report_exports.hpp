// The last report's tables for an assessment report, as a spreadsheet's text or a printable
// page (the workbook is xlsx_export.hpp's). Values are those the report prints.
#pragma once

#include <string>

#include "scoring/report_tables.hpp"

namespace quillon::app {

std::string TablesCsv(const ScoreTables& tables);
// The same after a UTF-8 byte-order mark, so that spreadsheets read it as UTF-8.
std::string TablesCsvForSpreadsheets(const ScoreTables& tables);
std::string TablesHtml(const ScoreTables& tables, const char* charset = "utf-8");
double PrintedValue(const std::string& printed);  // the value a printed figure shows

}  // namespace quillon::app
