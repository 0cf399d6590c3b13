#include "app/grid.hpp"

#include "app/report_exports.hpp"

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

std::vector<Grid> ReportGrids(const ScoreTables& t) {
    Grid totals{"总分", "总分", {"级别", "技术（满分 70）", "管理（满分 30）", "密评总分", "四舍五入"}, {}};
    totals.rows.push_back({CountCell(t.level), FigureCell(t.technicalPoints, kTablePointsDecimals),
                           FigureCell(t.managementPoints, kTablePointsDecimals), FigureCell(t.total, kReportSumDecimals),
                           FigureCell(t.roundedTotal, kReportRoundedTotalDecimals)});
    Grid counts{"单元数", "单元数", {"不符合", "部分符合", "符合", "没输入"}, {}};
    counts.rows.push_back({CountCell(t.nonCompliant), CountCell(t.partlyCompliant), CountCell(t.compliant), CountCell(t.notEntered)});
    Grid layers{"层面汇总", "层面汇总", {"层面", "层面名称", "组", "权重", "层面得分", "计入总分"}, {}};
    for (const auto& l : t.layers) {
        const GridCell points = l.points ? FigureCell(*l.points, kTablePointsDecimals) : TextCell("");
        layers.rows.push_back({CountCell(l.layer), TextCell(std::string(l.name)), TextCell(std::string(GroupWord(l.group))),
                               FigureCell(l.weight, l.weight == static_cast<int>(l.weight) ? 0 : 1),
                               FigureCell(l.score, kReportScoreDecimals), points});
    }
    Grid units{std::string(kTable52Title), "表5-2", {"层面", "单元序号", "单元名称", "单元得分", "层面得分"}, {}};
    for (std::size_t k = 0; k < t.units.size(); ++k) {
        const auto& u = t.units[k];
        const bool layerGoesOn = k > 0 && t.units[k - 1].layer == u.layer;
        GridCell layer = TextCell(std::to_string(u.layer) + " " + std::string(u.layerName));
        GridCell layerScore = u.layerScore ? FigureCell(*u.layerScore, kTableScoreDecimals) : TextCell("");
        layer.sameAsAbove = layerScore.sameAsAbove = layerGoesOn;
        units.rows.push_back({layer, CountCell(u.unit), TextCell(std::string(u.title)),
                              u.unitScore ? FigureCell(*u.unitScore, kTableScoreDecimals) : TextCell(std::string(kNoTableScore)),
                              layerScore});
    }
    return {totals, counts, layers, units};
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
