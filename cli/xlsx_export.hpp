// --format xlsx: the report's tables as a workbook, where the build has libxlsxwriter.
#pragma once

#include <string>

#include "scoring/report_tables.hpp"

namespace quillon::cli {

// The workbook's bytes; empty with `error` set when it could not be made.
std::string TablesXlsx(const ScoreTables& tables, std::string& error);
bool XlsxAvailable();

}  // namespace quillon::cli
