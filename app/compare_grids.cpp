// A comparison as the exports' tables: every figure with the decimals the text gives it.
#include "app/compare_text.hpp"
#include "app/report_exports.hpp"
#include "scoring/model.hpp"

namespace quillon::app {
namespace {

GridCell PointsCell(const std::optional<double>& points) { return points ? FigureCell(*points, kTablePointsDecimals) : TextCell(""); }

GridCell UnitCell(double score, int level) {
    return UnitMarkerOf(score) == UnitMarker::None ? FigureCell(score, kReportScoreDecimals) : TextCell(UnitScoreWord(score, level));
}

}  // namespace

std::vector<Grid> ComparisonGrids(const Comparison& c, const std::string& beforeName, const std::string& afterName) {
    const ScoreTables& b = c.before;
    const ScoreTables& a = c.after;
    Grid totals{"总分与单元数", "总分", {"项目", "整改前", "整改后", "变化"}, {}};
    totals.rows.push_back({TextCell("文件"), TextCell(beforeName), TextCell(afterName), TextCell("")});
    totals.rows.push_back({TextCell("级别"), CountCell(b.level), CountCell(a.level), TextCell(LevelDiffers(c))});
    const auto figures = [&](const char* label, double before, double after, double change, int decimals) {
        totals.rows.push_back({TextCell(label), FigureCell(before, decimals), FigureCell(after, decimals), ChangeCell(change, decimals)});
    };
    figures("密评总分", b.total, a.total, c.totalChange, kReportSumDecimals);
    figures("四舍五入", b.roundedTotal, a.roundedTotal, c.roundedTotalChange, kReportRoundedTotalDecimals);
    figures("技术（满分 70）", b.technicalPoints, a.technicalPoints, c.technicalChange, kTablePointsDecimals);
    figures("管理（满分 30）", b.managementPoints, a.managementPoints, c.managementChange, kTablePointsDecimals);
    const auto counts = [&](const char* label, int before, int after) {
        totals.rows.push_back({TextCell(label), CountCell(before), CountCell(after), ChangeCell(after - before, 0)});
    };
    counts("不符合", b.nonCompliant, a.nonCompliant);
    counts("部分符合", b.partlyCompliant, a.partlyCompliant);
    counts("符合", b.compliant, a.compliant);
    counts("没输入", b.notEntered, a.notEntered);

    Grid layers{"层面", "层面", {"层面", "层面名称", "组", "整改前得分", "整改后得分", "变化", "整改前计入", "整改后计入", "变化"}, {}};
    for (std::size_t k = 0; k < c.layers.size(); ++k) {
        const auto& lb = b.layers[k];
        const auto& la = a.layers[k];
        layers.rows.push_back({CountCell(lb.layer), TextCell(std::string(lb.name)), TextCell(std::string(GroupWord(lb.group))),
                               FigureCell(lb.score, kReportScoreDecimals), FigureCell(la.score, kReportScoreDecimals),
                               ChangeCell(c.layers[k].change, kReportScoreDecimals), PointsCell(lb.points), PointsCell(la.points),
                               ChangeCell(c.layers[k].pointsChange, kTablePointsDecimals)});
    }

    Grid units{"单元", "单元", {"层面", "单元序号", "单元名称", "整改前得分", "整改后得分", "变化", "整改前", "整改后"}, {}};
    Grid moved{"在不符合、部分符合和符合之间变化的单元", "符合情况变化", {"层面", "单元序号", "单元名称", "整改前", "整改后"}, {}};
    for (const Comparison::Unit& u : c.units) {
        const std::string title(u.title);
        const std::string before(ComplianceWord(u.complianceBefore));
        const std::string after(ComplianceWord(u.complianceAfter));
        units.rows.push_back({CountCell(u.layer), CountCell(u.unit), TextCell(title), UnitCell(u.before, b.level),
                              UnitCell(u.after, a.level), ChangeCell(u.change, kReportScoreDecimals), TextCell(before), TextCell(after)});
        if (u.moved()) moved.rows.push_back({CountCell(u.layer), CountCell(u.unit), TextCell(title), TextCell(before), TextCell(after)});
    }
    return {totals, layers, units, moved};
}

}  // namespace quillon::app
