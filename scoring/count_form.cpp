#include "scoring/count_form.hpp"

#include "scoring/model.hpp"
#include "scoring/rounding.hpp"
#include "scoring/text_format.hpp"

namespace quillon {
namespace {

std::string ResultText(const ObjectTable& table, double mean, double rounded) {
    std::string text = "单元得分= ";
    AppendFixed(text, mean, 0, 5);
    text += " (符合,部分符合,不符合,不适用)=(";
    AppendInt(text, table.Compliant, 2);
    text += ' ';
    AppendInt(text, table.PartlyCompliant, 2);
    text += ' ';
    AppendInt(text, table.NonCompliant, 2);
    text += ' ';
    AppendInt(text, table.NotApplicable, 2);
    text += ' ';
    AppendFixed(text, rounded, 8, 5);
    text += ")=>";
    AppendInt(text, table.CountedObjects, 2);
    text += "+若干不适用#";
    for (int slot = 0; slot < kObjectSlots; ++slot) {
        if (!table.Counted[static_cast<unsigned>(slot)]) continue;
        AppendFixed(text, table.ObjectScores[static_cast<unsigned>(slot)], 4, 3);
        text += ' ';
    }
    return text;
}

}  // namespace

double CountFormScore(ObjectTable& table, std::string_view objects, UnitTally* tally,
                      ReportText* report, std::string* resultText) {
    const std::int32_t counted = ScoreObjects(table, objects);
    const double mean = CountFormMean(table);
    const double rounded = counted > 0 ? RoundTo4(mean) : NoObjectScore;
    if (report != nullptr || resultText != nullptr) {
        std::string text = ResultText(table, mean, rounded);
        if (report != nullptr) {
            report->append(text);
            report->append("\r\n");
        }
        if (resultText != nullptr) *resultText = std::move(text);
    }
    if (tally != nullptr) {
        (*tally)[0] = table.Compliant;
        (*tally)[1] = table.PartlyCompliant;
        (*tally)[2] = table.NonCompliant;
        (*tally)[3] = table.NotApplicable;
        (*tally)[4] = counted;
        (*tally)[5] = TruncateToInt32(rounded * 1000.0);
    }
    return rounded;
}

}  // namespace quillon
