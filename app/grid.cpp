#include "app/grid.hpp"

#include "scoring/report.hpp"
#include "scoring/text_format.hpp"

namespace quillon::app {

GridCell TextCell(std::string text) { return {std::move(text), std::nullopt, 0}; }

GridCell FigureCell(double value, int decimals) { return {Fixed(value, 0, decimals), PrintedFigure(value, decimals), decimals}; }

GridCell CountCell(long long count) { return {std::to_string(count), static_cast<double>(count), 0}; }

GridCell ChangeCell(std::optional<double> change, int decimals) {
    if (!change) return TextCell("");
    GridCell cell = FigureCell(*change, decimals);
    if (*change > 0) cell.text.insert(0, "+");
    return cell;
}

Grid SummaryGrid(const std::vector<NamedTables>& scripts) {
    Grid grid{"各脚本的总分", "汇总",
              {"文件", "级别", "密评总分", "四舍五入", "技术（满分 70）", "管理（满分 30）", "不符合", "部分符合", "符合"},
              {}};
    for (const NamedTables& s : scripts) {
        const ScoreTables& t = s.tables;
        grid.rows.push_back({TextCell(s.name), CountCell(t.level), FigureCell(t.total, kReportSumDecimals),
                             FigureCell(t.roundedTotal, kReportRoundedTotalDecimals),
                             FigureCell(t.technicalPoints, kTablePointsDecimals), FigureCell(t.managementPoints, kTablePointsDecimals),
                             CountCell(t.nonCompliant), CountCell(t.partlyCompliant), CountCell(t.compliant)});
    }
    return grid;
}

}  // namespace quillon::app
