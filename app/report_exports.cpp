#include "app/report_exports.hpp"

#include <algorithm>
#include <optional>

#include "scoring/text_format.hpp"

namespace quillon::app {
namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvLine(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields) line += (line.empty() ? "" : ",") + CsvField(field);
    return line + "\r\n";
}

// A figure with the report's decimals; blank without one, or `absent` in its place.
std::string Figure(std::optional<double> value, int decimals, std::string_view absent = {}) {
    return value ? Fixed(*value, 0, decimals) : std::string(absent);
}

std::string Cell(const std::string& tag, std::string_view text, const char* cls = nullptr) {
    return "<" + tag + (cls ? std::string(" class=\"") + cls + "\"" : "") + ">" + MarkupEscaped(text) + "</" + tag + ">";
}

// The eight layer scores as bars, 0 to 1; a layer that leaves the total has no bar.
std::string LayerChart(const ScoreTables& t) {
    constexpr int kWidth = 640, kBar = 26, kGap = 10, kLabel = 130, kTop = 10;
    const int height = kTop + static_cast<int>(t.layers.size()) * (kBar + kGap) + 24;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" aria-label=\"八个层面的得分\" width=\"" +
                      std::to_string(kWidth) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
                      std::to_string(kWidth) + " " + std::to_string(height) + "\">";
    const int plot = kWidth - kLabel - 70;
    for (int tick = 0; tick <= 4; ++tick) {
        const int x = kLabel + plot * tick / 4;
        svg += "<line x1=\"" + std::to_string(x) + "\" y1=\"" + std::to_string(kTop - 4) + "\" x2=\"" + std::to_string(x) +
               "\" y2=\"" + std::to_string(height - 20) + "\" class=\"grid\"/>";
        svg += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(height - 6) + "\" class=\"tick\">" +
               Fixed(tick / 4.0, 0, 2) + "</text>";
    }
    for (std::size_t i = 0; i < t.layers.size(); ++i) {
        const auto& layer = t.layers[i];
        const int y = kTop + static_cast<int>(i) * (kBar + kGap);
        svg += "<text x=\"" + std::to_string(kLabel - 8) + "\" y=\"" + std::to_string(y + kBar * 2 / 3) + "\" class=\"name\">" +
               MarkupEscaped(std::to_string(layer.layer) + " " + std::string(layer.name)) + "</text>";
        if (!layer.points) {
            svg += "<text x=\"" + std::to_string(kLabel + 4) + "\" y=\"" + std::to_string(y + kBar * 2 / 3) +
                   "\" class=\"value\">不计入总分</text>";
            continue;
        }
        const double score = PrintedFigure(layer.score, kReportScoreDecimals).value_or(0.0);
        const int width = static_cast<int>(plot * std::min(1.0, std::max(0.0, score)) + 0.5);
        svg += "<rect x=\"" + std::to_string(kLabel) + "\" y=\"" + std::to_string(y) + "\" width=\"" + std::to_string(width) +
               "\" height=\"" + std::to_string(kBar) + "\" class=\"" + (layer.group == LayerGroup::Technical ? "tech" : "mgmt") + "\"/>";
        svg += "<text x=\"" + std::to_string(kLabel + width + 6) + "\" y=\"" + std::to_string(y + kBar * 2 / 3) +
               "\" class=\"value\">" + MarkupEscaped(Fixed(layer.score, 0, kReportScoreDecimals)) + "</text>";
    }
    return svg + "</svg>";
}

}  // namespace

std::string_view GroupWord(LayerGroup group) { return group == LayerGroup::Technical ? "技术" : "管理"; }

std::string MarkupEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string WeightText(double weight) { return Fixed(weight, 0, weight == static_cast<int>(weight) ? 0 : 1); }

std::string TablesCsv(const ScoreTables& t) {
    std::string out = CsvLine({std::string(kTable52Title)});
    out += CsvLine({"层面", "层面名称", "单元序号", "单元名称", "单元得分", "层面得分"});
    for (const auto& u : t.units) {
        out += CsvLine({std::to_string(u.layer), std::string(u.layerName), std::to_string(u.unit), std::string(u.title),
                        Figure(u.unitScore, kTableScoreDecimals, kNoTableScore), Figure(u.layerScore, kTableScoreDecimals)});
    }
    out += "\r\n" + CsvLine({"层面汇总"});
    out += CsvLine({"层面", "层面名称", "组", "权重", "层面得分", "计入总分"});
    for (const auto& l : t.layers) {
        out += CsvLine({std::to_string(l.layer), std::string(l.name), std::string(GroupWord(l.group)), WeightText(l.weight),
                        Fixed(l.score, 0, kReportScoreDecimals), Figure(l.points, kTablePointsDecimals)});
    }
    out += "\r\n" + CsvLine({"单元数"});
    out += CsvLine({"不符合", "部分符合", "符合", "没输入"});
    out += CsvLine({std::to_string(t.nonCompliant), std::to_string(t.partlyCompliant), std::to_string(t.compliant),
                    std::to_string(t.notEntered)});
    out += "\r\n" + CsvLine({"总分"});
    out += CsvLine({"级别", "技术（满分 70）", "管理（满分 30）", "密评总分", "四舍五入"});
    out += CsvLine({std::to_string(t.level), Fixed(t.technicalPoints, 0, kTablePointsDecimals),
                    Fixed(t.managementPoints, 0, kTablePointsDecimals), Fixed(t.total, 0, kReportSumDecimals),
                    Fixed(t.roundedTotal, 0, kReportRoundedTotalDecimals)});
    return out;
}

std::string TablesCsvForSpreadsheets(const ScoreTables& tables) { return std::string(kCsvUtf8Mark) + TablesCsv(tables); }

namespace {

// The page's head, its style and the body's start.
std::string HtmlStart(const std::string& title, const char* charset) {
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"" + std::string(charset) + "\">\n"
           "<title>" + title + "</title>\n<style>\n"
           "body { font: 14px/1.5 \"SimSun\", \"WenQuanYi Zen Hei\", \"Noto Sans CJK SC\", sans-serif; margin: 24px; color: #111; }\n"
           "h1 { font-size: 20px; margin: 0 0 4px; } h2 { font-size: 16px; margin: 24px 0 8px; }\n"
           "table { border-collapse: collapse; } th, td { border: 1px solid #888; padding: 2px 8px; }\n"
           "td.n { text-align: right; font-variant-numeric: tabular-nums; } th { background: #eee; }\n"
           ".total { font-size: 28px; font-weight: bold; } .muted { color: #555; }\n"
           "svg .tech { fill: #1f5f8b; } svg .mgmt { fill: #f2b705; } svg .grid { stroke: #ccc; }\n"
           "svg text { font-size: 12px; } svg .name { text-anchor: end; } svg .tick { text-anchor: middle; fill: #555; }\n"
           "@media print { body { margin: 0; } h2 { break-after: avoid; } table { break-inside: auto; } }\n"
           "</style>\n</head>\n<body>\n";
}

constexpr const char* kHtmlEnd = "</body>\n</html>\n";

// One report's tables: the total, the counts, the chart, the layer summary and table 5-2.
std::string TablesHtmlBody(const ScoreTables& t) {
    const std::string roundedTotal = Fixed(t.roundedTotal, 0, kReportRoundedTotalDecimals);
    std::string out = "<h1>" + std::to_string(t.level) + "级 密评总分</h1>\n";
    out += "<p><span class=\"total\">" + MarkupEscaped(roundedTotal) + "</span> <span class=\"muted\">（" +
           MarkupEscaped(Fixed(t.total, 0, kReportSumDecimals)) + "；技术 " + MarkupEscaped(Fixed(t.technicalPoints, 0, kTablePointsDecimals)) +
           " / 70，管理 " + MarkupEscaped(Fixed(t.managementPoints, 0, kTablePointsDecimals)) + " / 30）</span></p>\n";
    out += "<p>不符合 " + std::to_string(t.nonCompliant) + " 个单元，部分符合 " + std::to_string(t.partlyCompliant) + " 个，符合 " +
           std::to_string(t.compliant) + " 个" + (t.notEntered > 0 ? "，没输入 " + std::to_string(t.notEntered) + " 个" : "") + "。</p>\n";
    out += "<h2>八个层面的得分</h2>\n" + LayerChart(t) + "\n";
    out += "<h2>层面汇总</h2>\n<table>\n<tr><th>层面</th><th>层面名称</th><th>组</th><th>权重</th><th>层面得分</th><th>计入总分</th></tr>\n";
    for (const auto& l : t.layers) {
        out += "<tr>" + Cell("td", std::to_string(l.layer), "n") + Cell("td", l.name) + Cell("td", GroupWord(l.group)) +
               Cell("td", WeightText(l.weight), "n") + Cell("td", Fixed(l.score, 0, kReportScoreDecimals), "n") +
               Cell("td", Figure(l.points, kTablePointsDecimals), "n") + "</tr>\n";
    }
    out += "</table>\n<h2>" + std::string(kTable52Title) + "</h2>\n<table>\n"
           "<tr><th>层面</th><th>单元序号</th><th>单元名称</th><th>单元得分</th><th>层面得分</th></tr>\n";
    for (const auto& u : t.units) {
        out += "<tr>" + Cell("td", std::to_string(u.layer) + " " + std::string(u.layerName)) + Cell("td", std::to_string(u.unit), "n") +
               Cell("td", u.title) + Cell("td", Figure(u.unitScore, kTableScoreDecimals, kNoTableScore), "n") +
               Cell("td", Figure(u.layerScore, kTableScoreDecimals), "n") + "</tr>\n";
    }
    return out + "</table>\n";
}

std::string GridHtml(const Grid& grid) {
    std::string out = "<h2>" + MarkupEscaped(grid.title) + "</h2>\n<table>\n<tr>";
    for (const std::string& name : grid.header) out += Cell("th", name);
    out += "</tr>\n";
    for (const auto& row : grid.rows) {
        out += "<tr>";
        for (const GridCell& cell : row) out += Cell("td", cell.text, cell.number ? "n" : nullptr);
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

std::string GridCsv(const Grid& grid) {
    std::string out = CsvLine({grid.title});
    const auto join = [](const auto& fields, const auto& text) {
        std::string line;
        for (std::size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : ",") + CsvField(text(fields[i]));
        return line + "\r\n";
    };
    out += join(grid.header, [](const std::string& name) { return name; });
    for (const auto& row : grid.rows) out += join(row, [](const GridCell& cell) { return cell.text; });
    return out;
}

}  // namespace

std::string TablesHtml(const ScoreTables& t, const char* charset) {
    const std::string title = std::to_string(t.level) + "级 密评总分 " + Fixed(t.roundedTotal, 0, kReportRoundedTotalDecimals);
    return HtmlStart(title, charset) + TablesHtmlBody(t) + kHtmlEnd;
}

std::string GridsCsv(const std::vector<Grid>& grids) {
    std::string out;
    for (const Grid& grid : grids) out += (out.empty() ? "" : "\r\n") + GridCsv(grid);
    return out;
}

std::string GridsHtml(const std::vector<Grid>& grids, const std::string& heading, const char* charset) {
    std::string out = HtmlStart(MarkupEscaped(heading), charset) + "<h1>" + MarkupEscaped(heading) + "</h1>\n";
    for (const Grid& grid : grids) out += GridHtml(grid);
    return out + kHtmlEnd;
}

std::string ScriptsCsv(const std::vector<NamedTables>& scripts) {
    std::string out = GridCsv(SummaryGrid(scripts));
    for (const NamedTables& s : scripts) out += "\r\n" + CsvLine({"文件", s.name}) + TablesCsv(s.tables);
    return out;
}

std::string ScriptsHtml(const std::vector<NamedTables>& scripts, const char* charset) {
    std::string out = HtmlStart("各脚本的总分", charset) + GridHtml(SummaryGrid(scripts));
    for (const NamedTables& s : scripts) out += "<hr>\n<p class=\"muted\">" + MarkupEscaped(s.name) + "</p>\n" + TablesHtmlBody(s.tables);
    return out + kHtmlEnd;
}

}  // namespace quillon::app
