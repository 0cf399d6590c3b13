// The report's tables as a Word document (.docx): real tables with fixed column widths and a
// header row repeated on each page, in 宋体 on A4, for an assessment report edited by hand.
#pragma once

#include <string>
#include <vector>

#include "app/grid.hpp"
#include "scoring/report_tables.hpp"

namespace quillon::app {

// The document's bytes, proven whole; empty with `error` set when it could not be made.
std::string TablesDocx(const ScoreTables& tables, std::string& error);
// Each grid under its title, all under `heading`.
std::string GridsDocx(const std::vector<Grid>& grids, const std::string& heading, std::string& error);
// The summary, then each script's tables on a page of its own under its name.
std::string ScriptsDocx(const std::vector<NamedTables>& scripts, std::string& error);

// The document's body: headings, captions and tables, as WordprocessingML. Exposed so that the
// tests can read the widths it chose.
class DocxBody {
public:
    void heading(const std::string& text);
    void caption(const std::string& text);  // the line above a table, kept with it
    void pageBreak();
    void table(const Grid& grid);
    const std::string& xml() const { return xml_; }

private:
    std::string xml_;
};

// The columns' widths in twips for the page's text width: each column as wide as its longest
// text, a figure never wrapped; when they do not fit, the widest texts wrap first.
std::vector<int> DocxColumnWidths(const Grid& grid);
inline constexpr int kDocxTextWidth = 9026;  // A4 (11906 twips) less two 2.54 cm margins

// The package around the body: the zip of the document's parts (minizip, in memory), proven
// whole; empty with `error` set when it could not be made.
std::string DocxPackage(const DocxBody& body, std::string& error);

}  // namespace quillon::app
