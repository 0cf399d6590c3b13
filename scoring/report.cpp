#include "scoring/report.hpp"

#include <string>

#include "scoring/level.hpp"
#include "scoring/rounding.hpp"
#include "scoring/tally.hpp"
#include "scoring/text_format.hpp"

namespace quillon {
namespace {

bool InRoundingRange(double s) { return s > CountedScoreFloor && !HoldsNoObjectScore(s); }

void RoundUnitScores(ScoreStore& store) {
    for (auto& row : store.LayerRows) {
        for (double& s : row.UnitScores) {
            if (InRoundingRange(s)) s = RoundTo4(s);
        }
    }
}

void RoundLayerScores(ScoreStore& store) {
    for (auto& row : store.LayerRows) {
        if (InRoundingRange(row.LayerScore)) row.LayerScore = RoundTo4(row.LayerScore);
    }
}

void SumGroups(ScoreStore& store) {
    store.TechWeightedSum = store.TechWeightSum = 0;
    store.MgmtWeightedSum = store.MgmtWeightSum = 0;
    for (int k = 0; k < kLayerCount; ++k) {
        const double score = store.LayerRows[static_cast<unsigned>(k)].LayerScore;
        if (!(score > CountedScoreFloor)) continue;  // a layer marker leaves its group
        const double weight = LayerWeights[static_cast<unsigned>(k)];
        if (k < kTechnicalLayers) {
            store.TechWeightedSum += score * weight;
            store.TechWeightSum += weight;
        } else {
            store.MgmtWeightedSum += score * weight;
            store.MgmtWeightSum += weight;
        }
    }
}

void CountCompliance(ScoreStore& store) {
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& row = store.LayerRows[static_cast<unsigned>(k)];
        for (int j = 0; j < store.UnitCount(k); ++j) {
            switch (ComplianceOf(store.UnitWeights[static_cast<unsigned>(k)][static_cast<unsigned>(j)],
                                 row.UnitScores[static_cast<unsigned>(j)])) {
                case Compliance::NonCompliant: ++store.NonCompliantCount; break;
                case Compliance::PartlyCompliant: ++store.PartlyCompliantCount; break;
                case Compliance::Compliant: ++store.CompliantCount; break;
                case Compliance::NotCounted: break;
            }
        }
    }
}

void AppendUnitField(std::string& out, double s, int level) {
    if (const UnitMarker marker = UnitMarkerOf(s); marker != UnitMarker::None) {
        AppendPadded(out, UnitMarkerWord(marker, level), 9);
        return;
    }
    AppendFixed(out, s, 8, kReportScoreDecimals);
    out += ' ';
}

std::string LayerLines(const ScoreStore& store) {
    std::string out;
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& row = store.LayerRows[static_cast<unsigned>(k)];
        out += "@@";
        AppendInt(out, k + 1);
        AppendPadded(out, LayerNames[static_cast<unsigned>(k)], 12);
        out += ' ';
        AppendFixed(out, row.LayerScore, 8, kReportScoreDecimals);
        out += " # ";
        for (int j = 0; j < store.UnitCount(k); ++j) {
            AppendUnitField(out, row.UnitScores[static_cast<unsigned>(j)], store.AssessmentLevel);
        }
        out += "\r\n";
    }
    return out;
}

std::string Summary(const ScoreStore& store, double roundedTotal) {
    std::string out;
    AppendInt(out, store.AssessmentLevel);
    out += "级 密评总分=";
    AppendFixed(out, roundedTotal, 8, kReportRoundedTotalDecimals);
    out += ' ';
    AppendFixed(out, store.TotalScore, 8, kReportSumDecimals);
    out += " 注意2位有效数字\r\n不符合=";
    AppendInt(out, store.NonCompliantCount, 3);
    out += " 部分符合=";
    AppendInt(out, store.PartlyCompliantCount, 3);
    out += " 符合=";
    AppendInt(out, store.CompliantCount, 6);
    out += "  不适用=暂不统计  ";
    AppendFixed(out, store.TechWeightedSum, 8, kReportSumDecimals);
    out += '(';
    AppendFixed(out, store.TechWeightSum, 8, kReportSumDecimals);
    out += ") +";
    AppendFixed(out, store.MgmtWeightedSum, 8, kReportSumDecimals);
    out += '(';
    AppendFixed(out, store.MgmtWeightSum, 8, kReportSumDecimals);
    out += ") \r\n";
    if (store.NotEnteredCount != 0) {
        out += "'没输入'的单元数为";
        AppendInt(out, store.NotEnteredCount, 2);
        out += "个\r\n";
    }
    return out;
}

// Table 5-2 of the assessment report: one line per unit, the layer score on its first unit.
std::string ScoreTable(const ScoreStore& store, double roundedTotal) {
    std::string out = "《商用密码应用安全性评估报告》表 5-2 整体测评结果的得分\r\n"
                      "层面           单元序号->   单元得分 层面得分\r\n";
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& row = store.LayerRows[static_cast<unsigned>(k)];
        for (int j = 0; j < store.UnitCount(k); ++j) {
            out += "@@";
            AppendInt(out, k + 1);
            AppendPadded(out, LayerNames[static_cast<unsigned>(k)], 16);
            out += "  ";
            AppendInt(out, j + 1, 2);
            out += "->";
            const double s = row.UnitScores[static_cast<unsigned>(j)];
            if (TableShowsUnitScore(s)) {
                out += "  ";
                AppendFixed(out, s, 8, kTableScoreDecimals);
            } else {
                out += "   \\    ";
            }
            if (j == 0) {
                out += ' ';
                AppendFixed(out, row.LayerScore, 8, kTableScoreDecimals);
                out += ' ';
            } else {
                out += "        ";
            }
            out += "\r\n";
        }
    }
    out += "*** 密评总分=";
    AppendFixed(out, roundedTotal, 8, kReportRoundedTotalDecimals);
    out += " \r\n";
    return out;
}

}  // namespace

std::string_view UnitMarkerWord(UnitMarker marker, int level) {
    switch (marker) {
        case UnitMarker::NotAssessed: return level == 2 ? "2级不评" : "1级不评";
        case UnitMarker::NotEntered: return "没输入";
        case UnitMarker::NotApplicable: return "不适用";
        case UnitMarker::None: break;
    }
    return {};
}

Compliance ComplianceOf(double weight, double s) {
    if (weight <= ApplicableThreshold) return Compliance::NotCounted;
    if (s > -0.0001 && s < 0.0001) return Compliance::NonCompliant;
    if (s >= 0.0001 && s < 0.99999) return Compliance::PartlyCompliant;
    if (s >= 0.99999 && s < 1.0001) return Compliance::Compliant;
    return Compliance::NotCounted;
}

// A group without any scored layer contributes nothing rather than 0 / 0.
double GroupShare(double share, double weightedSum, double weightSum) {
    return weightSum > 0 ? share * (weightedSum / weightSum) : 0.0;
}

double LayerPoints(const ScoreStore& store, int k, double score) {
    const bool technical = k < kTechnicalLayers;
    const double weightSum = technical ? store.TechWeightSum : store.MgmtWeightSum;
    return (technical ? TechnicalShare : ManagementShare) * LayerWeights[static_cast<unsigned>(k)] * score / weightSum;
}

void TallyTotals(ScoreStore& store, std::uint32_t flags, const Diagnostics& diagnostics) {
    if (flags & RoundUnitScoresFlag) RoundUnitScores(store);
    store.NotEnteredCount = 0;
    for (int k = 0; k < kLayerCount; ++k) TallyLayer(store, k, diagnostics);
    if (flags & RoundLayerScoresFlag) RoundLayerScores(store);
    SumGroups(store);
    store.NonCompliantCount = store.PartlyCompliantCount = store.CompliantCount = 0;
    store.TotalScore = GroupShare(TechnicalShare, store.TechWeightedSum, store.TechWeightSum) +
                       GroupShare(ManagementShare, store.MgmtWeightedSum, store.MgmtWeightSum);
    CountCompliance(store);
}

void WriteScoreReport(ScoreStore& store, int forcedLevel, ReportText& report, std::uint32_t flags,
                      const Diagnostics& diagnostics) {
    if (forcedLevel >= 1 && forcedLevel <= kLevelCount) SelectLevel(store, forcedLevel);
    TallyTotals(store, flags, diagnostics);
    if (report.truncated()) return;  // nothing more would show: the model changes, the text does not
    const double roundedTotal = RoundTo2(store.TotalScore);
    report.append(LayerLines(store));
    report.append(Summary(store, roundedTotal));
    if (flags & ScoreTableFlag) report.append(ScoreTable(store, roundedTotal));
}

}  // namespace quillon
