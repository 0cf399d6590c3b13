// --format csv|html|xlsx: the last report's tables for an assessment report, as a spreadsheet's
// text, a printable page or a workbook. Values are those the report prints.
#pragma once

#include <string>

#include "scoring/report_tables.hpp"

namespace quillon::cli {

std::string TablesCsv(const ScoreTables& tables);
std::string TablesHtml(const ScoreTables& tables, const char* charset = "utf-8");
// The workbook's bytes; empty with `error` set when it could not be made.
std::string TablesXlsx(const ScoreTables& tables, std::string& error);
bool XlsxAvailable();
double PrintedValue(const std::string& printed);

}  // namespace quillon::cli
