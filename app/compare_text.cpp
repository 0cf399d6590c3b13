#include "app/compare_text.hpp"

#include "scoring/model.hpp"
#include "scoring/text_format.hpp"
#include "text/gbk_width.hpp"

namespace quillon::app {
namespace {

// Columns count GBK bytes, as the report's do.
constexpr int kLabel = 16;   // 技术（满分 70）
constexpr int kFigure = 12;  // 整改前得分 and the widest score, 1307117.316600, with room
constexpr int kUnit = 4;     // 4.2

std::string Right(std::string_view text, int width) {
    const std::size_t used = GbkWidth(text);
    return std::string(used < static_cast<std::size_t>(width) ? static_cast<std::size_t>(width) - used : 0, ' ') + std::string(text);
}

std::string Left(std::string_view text, int width) {
    std::string out;
    AppendPadded(out, text, width);
    return out;
}

std::string Signed(std::optional<double> change, int decimals) {
    if (!change) return {};
    return (*change > 0 ? "+" : "") + Fixed(*change, 0, decimals);
}

std::string SignedCount(int change) { return (change > 0 ? "+" : "") + std::to_string(change); }

std::string Totals(const ScoreTables& t) {
    return std::to_string(t.level) + "级 密评总分 " + Fixed(t.roundedTotal, 0, kReportRoundedTotalDecimals) + "（" +
           Fixed(t.total, 0, kReportSumDecimals) + "）";
}

std::string Row(std::string_view label, int labelWidth, std::initializer_list<std::string> figures) {
    std::string line = Left(label, labelWidth);
    for (const std::string& figure : figures) line += Right(figure, kFigure);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + "\n";
}

}  // namespace

std::string_view ComplianceWord(Compliance c) {
    switch (c) {
        case Compliance::NonCompliant: return "不符合";
        case Compliance::PartlyCompliant: return "部分符合";
        case Compliance::Compliant: return "符合";
        case Compliance::NotCounted: break;
    }
    return {};
}

std::string UnitScoreWord(double score, int level) {
    const UnitMarker marker = UnitMarkerOf(score);
    return marker == UnitMarker::None ? Fixed(score, 0, kReportScoreDecimals) : std::string(UnitMarkerWord(marker, level));
}

std::string LevelDiffers(const Comparison& c) {
    if (!c.levelDiffers()) return {};
    return "注意：两个脚本的级别不同，整改前为 " + std::to_string(c.before.level) + " 级，整改后为 " + std::to_string(c.after.level) +
           " 级。单元的权重和评不评随级别而定，得分的变化不全是整改带来的。";
}

std::string ComparisonText(const Comparison& c, const std::string& beforeName, const std::string& afterName) {
    const ScoreTables& b = c.before;
    const ScoreTables& a = c.after;
    std::string out = std::string(kComparisonHeading) + "\n";
    out += "整改前：" + beforeName + "  " + Totals(b) + "\n";
    out += "整改后：" + afterName + "  " + Totals(a) + "\n";
    if (c.levelDiffers()) out += LevelDiffers(c) + "\n";

    out += "\n" + Row("总分与单元数", kLabel, {"整改前", "整改后", "变化"});
    out += Row("密评总分", kLabel, {Fixed(b.total, 0, kReportSumDecimals), Fixed(a.total, 0, kReportSumDecimals),
                                    Signed(c.totalChange, kReportSumDecimals)});
    out += Row("四舍五入", kLabel, {Fixed(b.roundedTotal, 0, kReportRoundedTotalDecimals), Fixed(a.roundedTotal, 0, kReportRoundedTotalDecimals),
                                    Signed(c.roundedTotalChange, kReportRoundedTotalDecimals)});
    out += Row("技术（满分 70）", kLabel, {Fixed(b.technicalPoints, 0, kTablePointsDecimals), Fixed(a.technicalPoints, 0, kTablePointsDecimals),
                                           Signed(c.technicalChange, kTablePointsDecimals)});
    out += Row("管理（满分 30）", kLabel, {Fixed(b.managementPoints, 0, kTablePointsDecimals), Fixed(a.managementPoints, 0, kTablePointsDecimals),
                                           Signed(c.managementChange, kTablePointsDecimals)});
    const auto counts = [&](std::string_view label, int before, int after) {
        out += Row(label, kLabel, {std::to_string(before), std::to_string(after), SignedCount(after - before)});
    };
    counts("不符合", b.nonCompliant, a.nonCompliant);
    counts("部分符合", b.partlyCompliant, a.partlyCompliant);
    counts("符合", b.compliant, a.compliant);
    counts("没输入", b.notEntered, a.notEntered);

    // Layer labels as the report's layer lines have them: @@1物理和环境
    constexpr int kLayerLabel = 15;
    out += "\n" + Row("层面", kLayerLabel, {"整改前得分", "整改后得分", "变化", "整改前计入", "整改后计入", "变化"});
    for (std::size_t k = 0; k < c.layers.size(); ++k) {
        const auto& lb = b.layers[k];
        const auto& la = a.layers[k];
        const auto points = [](const std::optional<double>& p) { return p ? Fixed(*p, 0, kTablePointsDecimals) : std::string("不计入"); };
        out += Row("@@" + std::to_string(lb.layer) + std::string(LayerNames[k]), kLayerLabel,
                   {Fixed(lb.score, 0, kReportScoreDecimals), Fixed(la.score, 0, kReportScoreDecimals),
                    Signed(c.layers[k].change, kReportScoreDecimals), points(lb.points), points(la.points),
                    Signed(c.layers[k].pointsChange, kTablePointsDecimals)});
    }

    out += "\n" + Left("单元", kUnit) + Right("整改前得分", kFigure) + Right("整改后得分", kFigure) + Right("变化", kFigure) + "  单元名称\n";
    for (const Comparison::Unit& u : c.units) {
        out += Left(UnitNumber(u.layer, u.unit), kUnit) + Right(UnitScoreWord(u.before, b.level), kFigure) +
               Right(UnitScoreWord(u.after, a.level), kFigure) + Right(Signed(u.change, kReportScoreDecimals), kFigure) + "  " +
               std::string(u.title) + "\n";
    }

    std::vector<const Comparison::Unit*> moved;
    for (const Comparison::Unit& u : c.units) {
        if (u.moved()) moved.push_back(&u);
    }
    if (moved.empty()) {
        out += "\n没有单元在不符合、部分符合和符合之间变化。\n";
    } else {
        out += "\n在不符合、部分符合和符合之间变化的单元（" + std::to_string(moved.size()) + " 个）：\n";
        for (const Comparison::Unit* u : moved) {
            out += Left(UnitNumber(u->layer, u->unit), kUnit) + "  " +
                   Left(std::string(ComplianceWord(u->complianceBefore)) + " → " + std::string(ComplianceWord(u->complianceAfter)), 20) +
                   std::string(u->title) + "\n";
        }
    }
    return out;
}

}  // namespace quillon::app
