// The workbook, through libxlsxwriter: a sheet per table, numbers as numbers in the report's
// decimals. libxlsxwriter writes files only, so the workbook goes through a temporary one.
#include <xlsxwriter.h>

#include <optional>
#include <string_view>

#include "app/report_exports.hpp"
#include "platform/c_numbers.hpp"
#include "platform/temporary_file.hpp"
#include "app/xlsx_export.hpp"
#include "scoring/text_format.hpp"

namespace quillon::app {
namespace {

using platform::CNumbersInThisThread;
using platform::HeldSignals;
using platform::TemporaryFile;

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

void WriteText(lxw_worksheet* sheet, int row, int column, std::string_view text) {
    worksheet_write_string(sheet, row, column, std::string(text).c_str(), nullptr);
}

void Headers(lxw_worksheet* sheet, std::initializer_list<const char*> names, const Formats& f) {
    int column = 0;
    for (const char* name : names) worksheet_write_string(sheet, 0, column++, name, f.header);
}

void Fill(lxw_workbook* book, const ScoreTables& t) {
    Formats f{};
    f.header = workbook_add_format(book);
    format_set_bold(f.header);
    for (int d = 0; d <= 6; ++d) {
        f.decimals[d] = workbook_add_format(book);
        format_set_num_format(f.decimals[d], d == 0 ? "0" : ("0." + std::string(static_cast<std::size_t>(d), '0')).c_str());
    }
    lxw_worksheet* units = workbook_add_worksheet(book, "表5-2");
    Headers(units, {"层面", "层面名称", "单元序号", "单元名称", "单元得分", "层面得分"}, f);
    int row = 1;
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
    worksheet_set_column(units, 3, 3, 48, nullptr);
    lxw_worksheet* layers = workbook_add_worksheet(book, "层面汇总");
    Headers(layers, {"层面", "层面名称", "组", "权重", "层面得分", "计入总分"}, f);
    row = 1;
    for (const auto& l : t.layers) {
        worksheet_write_number(layers, row, 0, l.layer, nullptr);
        WriteText(layers, row, 1, l.name);
        WriteText(layers, row, 2, GroupWord(l.group));
        worksheet_write_number(layers, row, 3, l.weight, nullptr);
        WriteFigure(layers, row, 4, l.score, kReportScoreDecimals, f);
        WriteFigure(layers, row, 5, l.points, kTablePointsDecimals, f);
        ++row;
    }
    lxw_worksheet* totals = workbook_add_worksheet(book, "总分");
    Headers(totals, {"级别", "不符合", "部分符合", "符合", "没输入", "技术（满分 70）", "管理（满分 30）", "密评总分", "四舍五入"}, f);
    worksheet_write_number(totals, 1, 0, t.level, nullptr);
    worksheet_write_number(totals, 1, 1, t.nonCompliant, nullptr);
    worksheet_write_number(totals, 1, 2, t.partlyCompliant, nullptr);
    worksheet_write_number(totals, 1, 3, t.compliant, nullptr);
    worksheet_write_number(totals, 1, 4, t.notEntered, nullptr);
    WriteFigure(totals, 1, 5, t.technicalPoints, kTablePointsDecimals, f);
    WriteFigure(totals, 1, 6, t.managementPoints, kTablePointsDecimals, f);
    WriteFigure(totals, 1, 7, t.total, kReportSumDecimals, f);
    WriteFigure(totals, 1, 8, t.roundedTotal, kReportRoundedTotalDecimals, f);
}

}  // namespace

std::string TablesXlsx(const ScoreTables& tables, std::string& error) {
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
    Fill(book, tables);
    if (const lxw_error closed = workbook_close(book); closed != LXW_NO_ERROR) {
        error = "the workbook could not be written in " + TemporaryFile::FolderForMessages() + " (is it full?)";
        return {};
    }
    std::optional<std::string> bytes = file->contents();
    if (!bytes || bytes->empty()) {
        error = "the workbook could not be read back from its temporary file";
        return {};
    }
    if (const std::string fault = WorkbookFault(*bytes); !fault.empty()) {
        error = "the workbook came out incomplete in " + TemporaryFile::FolderForMessages() + " (is it full?): " + fault;
        return {};
    }
    return std::move(*bytes);
}

}  // namespace quillon::app
