// The document's body in WordprocessingML. Word is strict about the order of the elements in
// each property list (tblPr, trPr, tcPr, pPr, rPr): they are written in the schema's order.
#include <algorithm>
#include <numeric>

#include "app/docx_export.hpp"
#include "app/report_exports.hpp"
#include "scoring/text_format.hpp"
#include "text/utf8.hpp"

namespace quillon::app {
namespace {

// A table's text is 小五 (9 pt): a Chinese character 180 twips wide. An ASCII one is half that in
// 宋体, but a reader without 宋体 may show figures in a wider font (0.64 of a character), so
// 116 twips; a cell adds its margins (57 twips each side) and room for bold text.
constexpr int kTableTextSize = 18;  // half-points
constexpr int kTwipsPerWide = 180;
constexpr int kTwipsPerAscii = 116;
constexpr int kCellMargin = 57;
constexpr int kCellPadding = 2 * kCellMargin + 50;

int CellWidth(std::string_view text) {
    int width = kCellPadding;
    for (std::size_t i = 0; i < text.size(); i += Utf8SequenceLength(static_cast<unsigned char>(text[i]))) {
        width += static_cast<unsigned char>(text[i]) < 0x80 ? kTwipsPerAscii : kTwipsPerWide;
    }
    return width;
}
// A word of up to five characters (部分符合, 整改前得分) is never wrapped; a longer text keeps
// five a line.
const int kShortText = CellWidth("字字字字字");

// Text as XML character data: UTF-8 repaired, markup escaped, and the control characters XML
// cannot hold (a file's name may bring one) shown as U+FFFD.
std::string XmlText(std::string_view text) {
    std::string shown;
    for (const char c : RepairUtf8(text)) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            shown += "\xEF\xBF\xBD";
        } else {
            shown += c;
        }
    }
    return MarkupEscaped(shown);
}

// A run of text; blanks at either end kept.
std::string Run(std::string_view text, bool bold = false, int size = 0) {
    if (text.empty()) return {};
    const bool blankAtEnd = text.front() == ' ' || text.back() == ' ';
    std::string properties = bold ? "<w:b/><w:bCs/>" : "";
    if (size > 0) properties += "<w:sz w:val=\"" + std::to_string(size) + "\"/><w:szCs w:val=\"" + std::to_string(size) + "\"/>";
    return "<w:r>" + (properties.empty() ? "" : "<w:rPr>" + properties + "</w:rPr>") + "<w:t" +
           (blankAtEnd ? " xml:space=\"preserve\"" : "") + ">" + XmlText(text) + "</w:t></w:r>";
}

std::string Paragraph(std::string_view properties, std::string_view runs) {
    return "<w:p>" + (properties.empty() ? std::string() : "<w:pPr>" + std::string(properties) + "</w:pPr>") +
           std::string(runs) + "</w:p>";
}

// A column of figures is right-aligned throughout, its words (\ and 不适用) with its figures.
std::string TableCell(const GridCell& cell, int width, bool header, bool figures, bool mergesDown) {
    std::string xml = "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(width) + "\" w:type=\"dxa\"/>";
    if (cell.sameAsAbove) {
        xml += "<w:vMerge/>";
    } else if (mergesDown) {
        xml += "<w:vMerge w:val=\"restart\"/>";
    }
    if (header) xml += "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"E7E6E6\"/>";
    xml += "<w:vAlign w:val=\"center\"/></w:tcPr>";
    const char* align = header ? "center" : figures ? "right" : "left";
    const std::string_view text = cell.sameAsAbove ? std::string_view() : std::string_view(cell.text);
    return xml + Paragraph(std::string("<w:jc w:val=\"") + align + "\"/>", Run(text, header, kTableTextSize)) + "</w:tc>";
}

}  // namespace

std::vector<int> DocxColumnWidths(const Grid& grid) {
    const std::size_t columns = grid.header.size();
    std::vector<int> least(columns, 0), wanted(columns, 0);
    const auto take = [&](std::size_t c, const GridCell& cell) {
        const int width = CellWidth(cell.text);
        wanted[c] = std::max(wanted[c], width);
        least[c] = std::max(least[c], cell.number ? width : std::min(width, kShortText));  // a figure is never wrapped
    };
    for (std::size_t c = 0; c < columns; ++c) take(c, TextCell(grid.header[c]));
    for (const auto& row : grid.rows) {
        for (std::size_t c = 0; c < columns && c < row.size(); ++c) take(c, row[c]);
    }
    const auto sum = [](const std::vector<int>& widths) { return std::accumulate(widths.begin(), widths.end(), 0); };
    const long long needed = sum(least), room = kDocxTextWidth - needed, surplus = sum(wanted) - needed;
    std::vector<int> widths = least;  // wider than the page even wrapped: Word lets it run into the margin
    if (room >= surplus) {
        widths = wanted;
    } else if (room > 0) {
        // Too wide: each column keeps what it needs and the same share of what more it wants, so
        // that the longest texts wrap the most.
        for (std::size_t c = 0; c < columns; ++c) widths[c] = least[c] + static_cast<int>((wanted[c] - least[c]) * room / surplus);
    }
    // A table fills the text's width, the room left shared in proportion.
    const int total = sum(widths);
    if (total < kDocxTextWidth && total > 0) {
        int given = 0;
        for (std::size_t c = 0; c + 1 < columns; ++c) {
            widths[c] = static_cast<int>(static_cast<long long>(widths[c]) * kDocxTextWidth / total);
            given += widths[c];
        }
        widths.back() = kDocxTextWidth - given;
    }
    return widths;
}

void DocxBody::heading(const std::string& text) {
    xml_ += Paragraph("<w:pStyle w:val=\"Heading1\"/>", Run(text));
}

void DocxBody::caption(const std::string& text) {
    xml_ += Paragraph("<w:pStyle w:val=\"Caption\"/>", Run(text));
}

void DocxBody::pageBreak() { xml_ += "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>"; }

void DocxBody::table(const Grid& grid) {
    const std::vector<int> widths = DocxColumnWidths(grid);
    const int total = std::accumulate(widths.begin(), widths.end(), 0);
    xml_ += "<w:tbl><w:tblPr><w:tblStyle w:val=\"QuillonTable\"/><w:tblW w:w=\"" + std::to_string(total) +
            "\" w:type=\"dxa\"/><w:jc w:val=\"center\"/><w:tblLayout w:type=\"fixed\"/><w:tblCellMar><w:left w:w=\"" +
            std::to_string(kCellMargin) + "\" w:type=\"dxa\"/><w:right w:w=\"" + std::to_string(kCellMargin) +
            "\" w:type=\"dxa\"/></w:tblCellMar>"
            "<w:tblLook w:val=\"0420\" w:firstRow=\"1\" w:lastRow=\"0\" w:firstColumn=\"0\" w:lastColumn=\"0\" "
            "w:noHBand=\"1\" w:noVBand=\"1\"/></w:tblPr><w:tblGrid>";
    for (const int width : widths) xml_ += "<w:gridCol w:w=\"" + std::to_string(width) + "\"/>";
    xml_ += "</w:tblGrid>";
    // The header row is repeated at the top of each page the table runs onto.
    xml_ += "<w:tr><w:trPr><w:cantSplit/><w:tblHeader/></w:trPr>";
    for (std::size_t c = 0; c < widths.size(); ++c) xml_ += TableCell(TextCell(grid.header[c]), widths[c], true, false, false);
    std::vector<bool> figures(widths.size(), false);
    for (const auto& row : grid.rows) {
        for (std::size_t c = 0; c < widths.size() && c < row.size(); ++c) figures[c] = figures[c] || row[c].number;
    }
    xml_ += "</w:tr>";
    for (std::size_t r = 0; r < grid.rows.size(); ++r) {
        xml_ += "<w:tr><w:trPr><w:cantSplit/></w:trPr>";
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const GridCell cell = c < grid.rows[r].size() ? grid.rows[r][c] : TextCell("");
            const bool mergesDown = r + 1 < grid.rows.size() && c < grid.rows[r + 1].size() && grid.rows[r + 1][c].sameAsAbove;
            xml_ += TableCell(cell, widths[c], false, figures[c], mergesDown);
        }
        xml_ += "</w:tr>";
    }
    // Word needs a paragraph between two tables, or it joins them.
    xml_ += "</w:tbl>" + Paragraph("", "");
}

namespace {

void ReportTables(DocxBody& body, const ScoreTables& tables) {
    for (const Grid& grid : ReportGrids(tables)) {
        body.caption(grid.title);
        body.table(grid);
    }
}

std::string ReportHeading(const ScoreTables& t) {
    return std::to_string(t.level) + "级 密评总分 " + Fixed(t.roundedTotal, 0, kReportRoundedTotalDecimals);
}

}  // namespace

std::string TablesDocx(const ScoreTables& tables, std::string& error) {
    DocxBody body;
    body.heading(ReportHeading(tables));
    ReportTables(body, tables);
    return DocxPackage(body, error);
}

std::string GridsDocx(const std::vector<Grid>& grids, const std::string& heading, std::string& error) {
    DocxBody body;
    body.heading(heading);
    for (const Grid& grid : grids) {
        body.caption(grid.title);
        body.table(grid);
    }
    return DocxPackage(body, error);
}

std::string ScriptsDocx(const std::vector<NamedTables>& scripts, std::string& error) {
    DocxBody body;
    const Grid summary = SummaryGrid(scripts);
    body.heading(summary.title);
    body.table(summary);
    for (const NamedTables& script : scripts) {
        body.pageBreak();
        body.heading(script.name + "：" + ReportHeading(script.tables));
        ReportTables(body, script.tables);
    }
    return DocxPackage(body, error);
}

}  // namespace quillon::app
