// The formats the last report's tables export to. The tool's --format choices, help and
// dispatch, the windows' menus and save dialogs and the page's downloads all read this list;
// a format is added here and nowhere else.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <vector>

#include "app/grid.hpp"
#include "scoring/report_tables.hpp"

namespace quillon::app {

struct ExportFormat {
    std::string_view name;        // the tool's --format value and the page's
    std::string_view suffix;      // of the file's name, without the dot
    std::string_view noun;        // what the file is, in the menu, the dialog's title and failures
    std::string_view filterName;  // the save dialog's filter: its words
    std::string_view patterns;    // and the names it shows, separated by spaces, the suffix's first
    std::string_view mime;        // the page's download type
    bool binary = false;          // bytes; else UTF-8 text, which the tool may write in GBK
    int command = 0;              // the desktop menus' command id
    // The file; `gbk` when the tool writes the text in GBK (the CSV then has no UTF-8 mark, the
    // page declares GBK). Empty with `error` set when it could not be made.
    std::string (*write)(const ScoreTables& tables, bool gbk, std::string& error) = nullptr;
    // Several scripts: the summary first, then each one's tables. The same `gbk` and `error`.
    std::string (*writeScripts)(const std::vector<NamedTables>& scripts, bool gbk, std::string& error) = nullptr;
    // Tables with no single report behind them (a comparison), under `heading`.
    std::string (*writeGrids)(const std::vector<Grid>& grids, const std::string& heading, bool gbk, std::string& error) = nullptr;
};

// In menu order.
std::span<const ExportFormat> ExportFormats();
// The format of that name (lower case) or that command, or nullptr.
const ExportFormat* FindExportFormat(std::string_view name);
const ExportFormat* ExportFormatOfCommand(int command);

std::string ExportTitle(const ExportFormat& format);     // the save dialog's title: 导出表格
std::string ExportMenuText(const ExportFormat& format);  // 导出表格(CSV); a desktop menu adds "..."
std::string ExportFilter(const ExportFormat& format);    // CSV 表格 (*.csv)
// Why there is no file: the writer's error after what the file is.
std::string ExportFailure(const ExportFormat& format, const std::string& error);

}  // namespace quillon::app
