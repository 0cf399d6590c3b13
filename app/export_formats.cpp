#include "app/export_formats.hpp"

#include <array>

#include "app/command_ids.h"
#include "app/docx_export.hpp"
#include "app/report_exports.hpp"
#include "app/xlsx_export.hpp"

namespace quillon::app {
namespace {

// CSV with a UTF-8 byte-order mark, so that spreadsheets read it as UTF-8; none in GBK. The same
// for every CSV below.
std::string Csv(const ScoreTables& tables, bool gbk, std::string&) {
    return gbk ? TablesCsv(tables) : TablesCsvForSpreadsheets(tables);
}

std::string Html(const ScoreTables& tables, bool gbk, std::string&) { return TablesHtml(tables, gbk ? "gbk" : "utf-8"); }

std::string Xlsx(const ScoreTables& tables, bool, std::string& error) { return TablesXlsx(tables, error); }

std::string ScriptsCsvFile(const std::vector<NamedTables>& scripts, bool gbk, std::string&) {
    return gbk ? ScriptsCsv(scripts) : std::string(kCsvUtf8Mark) + ScriptsCsv(scripts);
}
std::string ScriptsHtmlFile(const std::vector<NamedTables>& scripts, bool gbk, std::string&) {
    return ScriptsHtml(scripts, gbk ? "gbk" : "utf-8");
}
std::string ScriptsXlsxFile(const std::vector<NamedTables>& scripts, bool, std::string& error) {
    return ScriptsXlsx(scripts, error);
}

std::string GridsCsvFile(const std::vector<Grid>& grids, const std::string&, bool gbk, std::string&) {
    return gbk ? GridsCsv(grids) : std::string(kCsvUtf8Mark) + GridsCsv(grids);
}
std::string GridsHtmlFile(const std::vector<Grid>& grids, const std::string& heading, bool gbk, std::string&) {
    return GridsHtml(grids, heading, gbk ? "gbk" : "utf-8");
}
std::string GridsXlsxFile(const std::vector<Grid>& grids, const std::string&, bool, std::string& error) {
    return GridsXlsx(grids, error);
}

std::string Docx(const ScoreTables& tables, bool, std::string& error) { return TablesDocx(tables, error); }
std::string ScriptsDocxFile(const std::vector<NamedTables>& scripts, bool, std::string& error) {
    return ScriptsDocx(scripts, error);
}
std::string GridsDocxFile(const std::vector<Grid>& grids, const std::string& heading, bool, std::string& error) {
    return GridsDocx(grids, heading, error);
}

constexpr std::array kFormats{
    ExportFormat{"csv", "csv", "表格", "CSV 表格", "*.csv", "text/csv;charset=utf-8", false, 32783, Csv, ScriptsCsvFile, GridsCsvFile},
    ExportFormat{"html", "html", "网页", "网页", "*.html *.htm", "text/html;charset=utf-8", false, 32784, Html, ScriptsHtmlFile,
                 GridsHtmlFile},
    ExportFormat{"xlsx", "xlsx", "工作簿", "Excel 工作簿", "*.xlsx",
                 "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", true, 32786, Xlsx, ScriptsXlsxFile,
                 GridsXlsxFile},
    ExportFormat{"docx", "docx", "Word 表格", "Word 文档", "*.docx",
                 "application/vnd.openxmlformats-officedocument.wordprocessingml.document", true, 32788, Docx, ScriptsDocxFile,
                 GridsDocxFile},
};

// A format is found by its name and its command, so both are its own.
constexpr bool Distinct() {
    for (std::size_t i = 0; i < kFormats.size(); ++i) {
        for (const int fixed : kFixedCommandIds) {
            if (kFormats[i].command == fixed) return false;
        }
        for (std::size_t j = i + 1; j < kFormats.size(); ++j) {
            if (kFormats[i].name == kFormats[j].name || kFormats[i].command == kFormats[j].command) return false;
        }
    }
    return true;
}
static_assert(Distinct(), "two export formats share a name or a menu command, or one takes another command's id");

}  // namespace

std::span<const ExportFormat> ExportFormats() { return kFormats; }

const ExportFormat* FindExportFormat(std::string_view name) {
    for (const ExportFormat& format : kFormats) {
        if (format.name == name) return &format;
    }
    return nullptr;
}

const ExportFormat* ExportFormatOfCommand(int command) {
    for (const ExportFormat& format : kFormats) {
        if (format.command == command) return &format;
    }
    return nullptr;
}

// 导出表格, 导出 Word 表格: a blank between Chinese and a Latin word.
std::string ExportTitle(const ExportFormat& format) {
    const bool latin = !format.noun.empty() && static_cast<unsigned char>(format.noun.front()) < 0x80;
    return (latin ? "导出 " : "导出") + std::string(format.noun);
}

std::string ExportMenuText(const ExportFormat& format) {
    std::string upper(format.name);
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return ExportTitle(format) + "(" + upper + ")";
}

std::string ExportFilter(const ExportFormat& format) {
    return std::string(format.filterName) + " (" + std::string(format.patterns) + ")";
}

std::string ExportFailure(const ExportFormat& format, const std::string& error) {
    return std::string(format.noun) + "没有写成：" + error;
}

}  // namespace quillon::app
