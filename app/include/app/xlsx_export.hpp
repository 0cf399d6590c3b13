// The report's tables as a workbook (libxlsxwriter), for the tool's --format xlsx and the views.
#pragma once

#include <string>

#include <vector>

#include "app/grid.hpp"
#include "scoring/report_tables.hpp"

namespace quillon::app {

// The workbook's bytes, proven whole; empty with `error` set when it could not be made.
std::string TablesXlsx(const ScoreTables& tables, std::string& error);

// A sheet per grid, its title in the first row.
std::string GridsXlsx(const std::vector<Grid>& grids, std::string& error);
// The summary sheet, then a sheet per script with its tables.
std::string ScriptsXlsx(const std::vector<NamedTables>& scripts, std::string& error);

}  // namespace quillon::app
