#include "app/explain_text.hpp"

#include <algorithm>

#include "scoring/model.hpp"
#include "scoring/report.hpp"
#include "scoring/rounding.hpp"
#include "scoring/text_format.hpp"

namespace quillon::app {

const char* const kGainsDoNotAddUp =
    "各单元的增分不能简单相加：层面得分是其单元的加权平均，技术与管理两组又是层面的加权平均。";
const char* const kAssumeWithTheTool = "几个单元一起改为符合时的总分，请用 quillon-score --explain --assume 4.3,7.4 计算。";

namespace {

std::string Signed(double value, int precision) {
    return (value >= 0 ? "+" : "") + Fixed(value, 0, precision);
}

// "69.680（69.6798）": the rounded total as the report prints it, then the total.
std::string Totals(double total) {
    return Fixed(RoundTo2(total), 0, kReportRoundedTotalDecimals) + "（" + Fixed(total, 0, kExplainDecimals) + "）";
}

// Why the last report did not count a unit the level assesses.
const char* NotCounted(double s) {
    switch (UnitMarkerOf(s)) {
        case UnitMarker::NotApplicable: return "not applicable";
        case UnitMarker::NotEntered: return "not entered";
        case UnitMarker::NotAssessed: return "marked not assessed";
        case UnitMarker::None: break;
    }
    return HoldsNoObjectScore(s) ? "no object to count; its layer leaves the total" : "a score of -0.5 or less";
}

}  // namespace

Assumption Assume(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits& assumed, std::uint32_t flags) {
    Assumption a;
    a.total = TotalAssuming(lastReport, flags, assumed.units);
    // Each single gain afresh: a unit scored above 1 has one too (below 0), and is not listed.
    for (const UnitRef& u : assumed.units) a.sumOfGains += TotalAssuming(lastReport, flags, {u}) - e.total;
    return a;
}

AssumedUnits ParseAssumedUnits(const std::string& list, const ScoreStore& lastReport) {
    AssumedUnits out;
    std::size_t at = 0;
    while (at <= list.size()) {
        const std::size_t comma = std::min(list.find(',', at), list.size());
        const std::string word = list.substr(at, comma - at);
        at = comma + 1;
        const bool shaped = word.size() == 3 && word[0] >= '1' && word[0] <= '8' && word[1] == '.' && word[2] >= '1' && word[2] <= '8';
        const int layer = shaped ? word[0] - '0' : 0;
        const int unit = shaped ? word[2] - '0' : 0;
        if (!shaped || unit > lastReport.UnitCount(layer - 1)) {
            out.error = "--assume: \"" + word + "\" names no unit (write layer.unit, such as 4.3)";
            return out;
        }
        if (lastReport.UnitWeights[static_cast<unsigned>(layer - 1)][static_cast<unsigned>(unit - 1)] <= ApplicableThreshold) {
            out.error = "--assume: level " + std::to_string(lastReport.AssessmentLevel) + " does not assess unit " + word;
            return out;
        }
        const UnitRef ref{layer, unit};
        if (!CountedUnit(lastReport, ref)) {
            const double s = lastReport.LayerRows[static_cast<unsigned>(layer - 1)].UnitScores[static_cast<unsigned>(unit - 1)];
            out.error = "--assume: the last report did not count unit " + word + " (" + NotCounted(s) + "): it has no gain to assume";
            return out;
        }
        if (std::find(out.units.begin(), out.units.end(), ref) == out.units.end()) out.units.push_back(ref);
    }
    return out;
}

ExplanationParts PartsOf(const ScoreStore& lastReport, const Explanation& e) {
    ExplanationParts parts;
    parts.head = std::to_string(lastReport.AssessmentLevel) + "级 密评总分 " + Totals(e.total) + "\n\n";
    if (e.gains.empty()) {
        parts.head += "没有得分低于 1 的单元：总分不会因某个单元改为符合而增加。\n";
    } else {
        parts.head += "单元改为符合（得分 1）、其余不变时总分增加的分值，从大到小：\n";
        parts.columns = "单元  单元得分  权重  增分      改后总分  单元名称";
    }
    for (const UnitGain& g : e.gains) {
        std::string line;
        AppendPadded(line, UnitNumber(g.unit.layer, g.unit.unit), 4);
        line += Fixed(g.score, 9, kExplainDecimals) + Fixed(g.weight, 6, 1) + "  ";
        AppendPadded(line, Signed(g.gain, kExplainDecimals), 8);
        line += Fixed(g.total, 10, kExplainDecimals) + "  " + std::string(UnitTitle(g.unit.layer, g.unit.unit));
        parts.rows.push_back(std::move(line));
    }
    double lost = 0;
    for (const double l : e.layerLoss) lost += l;
    std::string& out = parts.losses;
    out = "各层面失分（合计 " + Fixed(lost, 0, kExplainDecimals) + "，" + Fixed(e.outOf, 0, 0) + " - 总分 = " +
          Fixed(e.outOf - e.total, 0, kExplainDecimals);
    if (!e.technicalScored || !e.managementScored) {
        const char* groups = e.technicalScored ? "管理组" : e.managementScored ? "技术组" : "技术组和管理组都";
        out += "：" + std::string(groups) + "没有计分的层面，总分至多 " + Fixed(e.outOf, 0, 0);
    }
    out += "）：\n";
    for (int k = 0; k < kLayerCount; ++k) {
        std::string line = "@@" + std::to_string(k + 1);
        AppendPadded(line, LayerNames[static_cast<unsigned>(k)], 12);
        out += line + Fixed(e.layerLoss[static_cast<unsigned>(k)], 9, kExplainDecimals) + "\n";
    }
    return parts;
}

std::string AssumptionText(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits& assumed,
                           std::uint32_t flags) {
    const Assumption a = Assume(lastReport, e, assumed, flags);
    std::string names;
    for (const UnitRef& u : assumed.units) names += (names.empty() ? "" : "、") + UnitNumber(u.layer, u.unit);
    return "假设 " + names + " 符合（得分 1），其余不变：总分 " + Totals(a.total) + "，增分 " +
           Signed(a.total - e.total, kExplainDecimals) + "；各单元单独的增分之和为 " + Signed(a.sumOfGains, kExplainDecimals) + "。\n";
}

std::string ExplanationText(const ScoreStore& lastReport, const Explanation& e, const AssumedUnits* assumed,
                            std::uint32_t flags) {
    const ExplanationParts parts = PartsOf(lastReport, e);
    std::string out = parts.head;
    if (!parts.rows.empty()) {
        out += parts.columns + "\n";
        for (const std::string& row : parts.rows) out += row + "\n";
        out += std::string(kGainsDoNotAddUp) + kAssumeWithTheTool + "\n";
    }
    out += "\n" + parts.losses;
    if (assumed != nullptr) out += "\n" + AssumptionText(lastReport, e, *assumed, flags);
    return out;
}

}  // namespace quillon::app
