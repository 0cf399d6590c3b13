// The report's tables as a workbook (libxlsxwriter), for the tool's --format xlsx and the views.
#pragma once

#include <string>

#include "scoring/report_tables.hpp"

namespace quillon::app {

// The workbook's bytes; empty with `error` set when it could not be made.
std::string TablesXlsx(const ScoreTables& tables, std::string& error);

}  // namespace quillon::app
