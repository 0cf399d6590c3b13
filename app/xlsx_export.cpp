// The workbook, through libxlsxwriter: a sheet per table, numbers as numbers in the report's
// decimals. libxlsxwriter writes files only, so the workbook goes through a temporary one.
#include <xlsxwriter.h>

#include <functional>
#include <optional>
#include <string_view>

#include "app/package_proof.hpp"
#include "app/report_exports.hpp"
#include "platform/c_numbers.hpp"
#include "platform/temporary_file.hpp"
#include "app/xlsx_export.hpp"
#include "scoring/text_format.hpp"
#include "text/utf8.hpp"

namespace quillon::app {
namespace {

using platform::CNumbersInThisThread;
using platform::HeldSignals;
using platform::TemporaryFile;

constexpr std::size_t kMaxSheetName = 31;  // characters, as spreadsheets allow

struct Formats {
    lxw_format* header;
    lxw_format* decimals[7];  // index: the number of decimals
};

// A figure as a number with the digits and decimals the report prints; a value that prints as a
// word ("inf") as that word.
void WriteFigure(lxw_worksheet* sheet, int row, int column, double value, int decimals, const Formats& f) {
    if (const std::optional<double> shown = PrintedFigure(value, decimals)) {
        worksheet_write_number(sheet, row, column, *shown, f.decimals[decimals]);
    } else {
        worksheet_write_string(sheet, row, column, Fixed(value, 0, decimals).c_str(), nullptr);
    }
}

// A blank cell where the figure is missing.
void WriteFigure(lxw_worksheet* sheet, int row, int column, std::optional<double> value, int decimals, const Formats& f) {
    if (value) WriteFigure(sheet, row, column, *value, decimals, f);
}

void WriteText(lxw_worksheet* sheet, int row, int column, std::string_view text, lxw_format* format = nullptr) {
    worksheet_write_string(sheet, row, column, std::string(text).c_str(), format);
}

void Headers(lxw_worksheet* sheet, int row, std::initializer_list<const char*> names, const Formats& f) {
    int column = 0;
    for (const char* name : names) worksheet_write_string(sheet, row, column++, name, f.header);
}

Formats AddFormats(lxw_workbook* book) {
    Formats f{};
    f.header = workbook_add_format(book);
    format_set_bold(f.header);
    for (int d = 0; d <= 6; ++d) {
        f.decimals[d] = workbook_add_format(book);
        format_set_num_format(f.decimals[d], d == 0 ? "0" : ("0." + std::string(static_cast<std::size_t>(d), '0')).c_str());
    }
    return f;
}

// Each table from `row` on, its header first; each gives the row after it.
int UnitsTable(lxw_worksheet* units, int row, const ScoreTables& t, const Formats& f) {
    Headers(units, row++, {"层面", "层面名称", "单元序号", "单元名称", "单元得分", "层面得分"}, f);
    for (const auto& u : t.units) {
        worksheet_write_number(units, row, 0, u.layer, nullptr);
        WriteText(units, row, 1, u.layerName);
        worksheet_write_number(units, row, 2, u.unit, nullptr);
        WriteText(units, row, 3, u.title);
        if (u.unitScore) {
            WriteFigure(units, row, 4, *u.unitScore, kTableScoreDecimals, f);
        } else {
            WriteText(units, row, 4, kNoTableScore);
        }
        WriteFigure(units, row, 5, u.layerScore, kTableScoreDecimals, f);
        ++row;
    }
    return row;
}

int LayersTable(lxw_worksheet* layers, int row, const ScoreTables& t, const Formats& f) {
    Headers(layers, row++, {"层面", "层面名称", "组", "权重", "层面得分", "计入总分"}, f);
    for (const auto& l : t.layers) {
        worksheet_write_number(layers, row, 0, l.layer, nullptr);
        WriteText(layers, row, 1, l.name);
        WriteText(layers, row, 2, GroupWord(l.group));
        worksheet_write_number(layers, row, 3, l.weight, nullptr);
        WriteFigure(layers, row, 4, l.score, kReportScoreDecimals, f);
        WriteFigure(layers, row, 5, l.points, kTablePointsDecimals, f);
        ++row;
    }
    return row;
}

int TotalsTable(lxw_worksheet* totals, int row, const ScoreTables& t, const Formats& f) {
    Headers(totals, row++, {"级别", "不符合", "部分符合", "符合", "没输入", "技术（满分 70）", "管理（满分 30）", "密评总分", "四舍五入"}, f);
    worksheet_write_number(totals, row, 0, t.level, nullptr);
    worksheet_write_number(totals, row, 1, t.nonCompliant, nullptr);
    worksheet_write_number(totals, row, 2, t.partlyCompliant, nullptr);
    worksheet_write_number(totals, row, 3, t.compliant, nullptr);
    worksheet_write_number(totals, row, 4, t.notEntered, nullptr);
    WriteFigure(totals, row, 5, t.technicalPoints, kTablePointsDecimals, f);
    WriteFigure(totals, row, 6, t.managementPoints, kTablePointsDecimals, f);
    WriteFigure(totals, row, 7, t.total, kReportSumDecimals, f);
    WriteFigure(totals, row, 8, t.roundedTotal, kReportRoundedTotalDecimals, f);
    return row + 1;
}

constexpr double kTitleColumnWidth = 48;

void Fill(lxw_workbook* book, const ScoreTables& t) {
    const Formats f = AddFormats(book);
    lxw_worksheet* units = workbook_add_worksheet(book, "表5-2");
    UnitsTable(units, 0, t, f);
    worksheet_set_column(units, 3, 3, kTitleColumnWidth, nullptr);
    LayersTable(workbook_add_worksheet(book, "层面汇总"), 0, t, f);
    TotalsTable(workbook_add_worksheet(book, "总分"), 0, t, f);
}

// A grid's header and rows from `row` on; the row after it.
int GridRows(lxw_worksheet* sheet, int row, const Grid& grid, const Formats& f) {
    int column = 0;
    for (const std::string& name : grid.header) WriteText(sheet, row, column++, name, f.header);
    ++row;
    for (const auto& cells : grid.rows) {
        column = 0;
        for (const GridCell& cell : cells) {
            if (cell.number) {
                worksheet_write_number(sheet, row, column, *cell.number, f.decimals[cell.decimals]);
            } else if (!cell.text.empty()) {
                WriteText(sheet, row, column, cell.text);
            }
            ++column;
        }
        ++row;
    }
    return row;
}

// A sheet of its own for the grid: its title, then its header and rows.
void GridSheet(lxw_workbook* book, const Grid& grid, const Formats& f) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, grid.sheet.c_str());
    WriteText(sheet, 0, 0, grid.title, f.header);
    GridRows(sheet, 1, grid, f);
}

void FillGrids(lxw_workbook* book, const std::vector<Grid>& grids) {
    const Formats f = AddFormats(book);
    for (const Grid& grid : grids) GridSheet(book, grid, f);
}

// "2 name": the script's place, then its file's name without folders, as a sheet may be named.
std::string SheetName(std::size_t index, const std::string& file) {
    const std::size_t slash = file.find_last_of("/\\");
    std::string name = std::to_string(index + 1) + " " + (slash == std::string::npos ? file : file.substr(slash + 1));
    for (char& c : name) {
        if (std::string_view("[]:*?/\\").find(c) != std::string_view::npos) c = '_';
    }
    // At most 31 characters, never a piece of one.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); i += Utf8SequenceLength(static_cast<unsigned char>(name[i]))) {
        if (++characters > kMaxSheetName) {
            name.resize(i);
            break;
        }
    }
    if (name.back() == '\'') name.back() = '_';
    return name;
}

// The summary, then a sheet per script with its tables one under another.
void FillScripts(lxw_workbook* book, const std::vector<NamedTables>& scripts) {
    const Formats f = AddFormats(book);
    GridSheet(book, SummaryGrid(scripts), f);
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        lxw_worksheet* sheet = workbook_add_worksheet(book, SheetName(i, scripts[i].name).c_str());
        WriteText(sheet, 0, 0, "文件");
        WriteText(sheet, 0, 1, scripts[i].name);
        int row = 2;
        WriteText(sheet, row++, 0, "总分", f.header);
        row = TotalsTable(sheet, row, scripts[i].tables, f) + 1;
        WriteText(sheet, row++, 0, "层面汇总", f.header);
        row = LayersTable(sheet, row, scripts[i].tables, f) + 1;
        WriteText(sheet, row++, 0, "表5-2", f.header);
        UnitsTable(sheet, row, scripts[i].tables, f);
        worksheet_set_column(sheet, 3, 3, kTitleColumnWidth, nullptr);
    }
}

// The workbook `fill` makes, through a temporary file, proven whole.
std::string Workbook(const std::function<void(lxw_workbook*)>& fill, std::string& error) {
    const HeldSignals held;  // made first, so it goes after the temporary files are removed
    std::optional<TemporaryFile> file = TemporaryFile::Make(".xlsx");
    if (!file) {
        error = "cannot make a temporary file for the workbook in " + TemporaryFile::FolderForMessages();
        return {};
    }
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(file->folder().c_str());  // libxlsxwriter's own scratch files
    const CNumbersInThisThread cNumbers;
    lxw_workbook* book = workbook_new_opt(file->path().c_str(), &options);
    if (book == nullptr) {
        error = "cannot start the workbook in " + TemporaryFile::FolderForMessages();
        return {};
    }
    fill(book);
    if (const lxw_error closed = workbook_close(book); closed != LXW_NO_ERROR) {
        error = "the workbook could not be written in " + TemporaryFile::FolderForMessages() + " (is it full?)";
        return {};
    }
    std::optional<std::string> bytes = file->contents();
    if (!bytes || bytes->empty()) {
        error = "the workbook could not be read back from its temporary file";
        return {};
    }
    if (const std::string fault = PackageFault(*bytes); !fault.empty()) {
        error = "the workbook came out incomplete in " + TemporaryFile::FolderForMessages() + " (is it full?): " + fault;
        return {};
    }
    return std::move(*bytes);
}

}  // namespace

std::string TablesXlsx(const ScoreTables& tables, std::string& error) {
    return Workbook([&](lxw_workbook* book) { Fill(book, tables); }, error);
}

std::string GridsXlsx(const std::vector<Grid>& grids, std::string& error) {
    return Workbook([&](lxw_workbook* book) { FillGrids(book, grids); }, error);
}

std::string ScriptsXlsx(const std::vector<NamedTables>& scripts, std::string& error) {
    return Workbook([&](lxw_workbook* book) { FillScripts(book, scripts); }, error);
}

}  // namespace quillon::app
