// Builds without libxlsxwriter (the Windows cross build): no workbook, said plainly.
#include "cli/xlsx_export.hpp"

namespace quillon::cli {

bool XlsxAvailable() { return false; }

std::string TablesXlsx(const ScoreTables&, std::string& error) {
    error = "xlsx is not available in this build (use csv or html)";
    return {};
}

}  // namespace quillon::cli
