#include "scoring/compare.hpp"

#include <algorithm>

#include "scoring/text_format.hpp"

namespace quillon {
namespace {

// The change a reader computes from the two printed figures; 0 is never negative.
std::optional<double> FigureChange(double before, double after, int decimals) {
    const std::optional<double> b = PrintedFigure(before, decimals);
    const std::optional<double> a = PrintedFigure(after, decimals);
    if (!a || !b) return std::nullopt;
    const double change = *a - *b;
    return change == 0 ? 0.0 : change;
}

// A score the report prints as a score: no word, and not the no-object number.
bool PrintsAsScore(double s) { return UnitMarkerOf(s) == UnitMarker::None && !HoldsNoObjectScore(s); }

}  // namespace

Comparison Compare(const ScoreStore& beforeReport, const ScoreStore& afterReport) {
    Comparison c;
    c.before = TablesOf(beforeReport);
    c.after = TablesOf(afterReport);
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& rowBefore = beforeReport.LayerRows[static_cast<unsigned>(k)];
        const auto& rowAfter = afterReport.LayerRows[static_cast<unsigned>(k)];
        const int units = std::max(beforeReport.UnitCount(k), afterReport.UnitCount(k));
        for (int j = 0; j < units; ++j) {
            Comparison::Unit u;
            u.layer = k + 1;
            u.unit = j + 1;
            u.title = UnitTitle(k + 1, j + 1);
            u.before = rowBefore.UnitScores[static_cast<unsigned>(j)];
            u.after = rowAfter.UnitScores[static_cast<unsigned>(j)];
            u.complianceBefore = ComplianceOf(beforeReport.UnitWeights[static_cast<unsigned>(k)][static_cast<unsigned>(j)], u.before);
            u.complianceAfter = ComplianceOf(afterReport.UnitWeights[static_cast<unsigned>(k)][static_cast<unsigned>(j)], u.after);
            if (PrintsAsScore(u.before) && PrintsAsScore(u.after)) {
                u.change = FigureChange(u.before, u.after, kReportScoreDecimals);
            }
            c.units.push_back(u);
        }
        const auto& before = c.before.layers[static_cast<unsigned>(k)];
        const auto& after = c.after.layers[static_cast<unsigned>(k)];
        Comparison::Layer layer;
        if (before.score > CountedScoreFloor && after.score > CountedScoreFloor) {
            layer.change = FigureChange(before.score, after.score, kReportScoreDecimals);
        }
        if (before.points && after.points) layer.pointsChange = FigureChange(*before.points, *after.points, kTablePointsDecimals);
        c.layers.push_back(layer);
    }
    c.technicalChange = FigureChange(c.before.technicalPoints, c.after.technicalPoints, kTablePointsDecimals).value_or(0);
    c.managementChange = FigureChange(c.before.managementPoints, c.after.managementPoints, kTablePointsDecimals).value_or(0);
    c.totalChange = FigureChange(c.before.total, c.after.total, kReportSumDecimals).value_or(0);
    c.roundedTotalChange = FigureChange(c.before.roundedTotal, c.after.roundedTotal, kReportRoundedTotalDecimals).value_or(0);
    return c;
}

}  // namespace quillon
