#include "app/word_tips.hpp"

#include <vector>

#include "app/utf16_units.hpp"
#include "scoring/model.hpp"
#include "scoring/report.hpp"
#include "scoring/text_format.hpp"
#include "script/line_detail.hpp"

namespace quillon::app {
namespace {

struct Word {
    std::size_t begin = 0;  // bytes
    std::size_t end = 0;
};

// Words as the commands read them: separated by ASCII blanks only. The run drops control
// bytes, so a word of nothing else is no word to it and does not count.
std::vector<Word> Words(std::string_view row) {
    std::vector<Word> words;
    for (std::size_t at = 0; at < row.size();) {
        if (row[at] == ' ') {
            ++at;
            continue;
        }
        const std::size_t end = std::min(row.find(' ', at), row.size());
        for (std::size_t i = at; i < end; ++i) {
            if (static_cast<unsigned char>(row[i]) >= 32) {
                words.push_back({at, end});
                break;
            }
        }
        at = end;
    }
    return words;
}

std::string UnitTip(int layer, int unit, int level) {
    const std::string_view title = UnitTitle(layer, unit);
    if (title.empty()) return {};
    std::string tip = UnitNumber(layer, unit) + " " + std::string(title);
    if (level < 1 || level > 4) return tip;
    const double weight = LevelUnitWeights[static_cast<unsigned>(level - 1)][static_cast<unsigned>(layer - 1)]
                                          [static_cast<unsigned>(unit - 1)];
    tip += weight > ApplicableThreshold ? "，" + std::to_string(level) + " 级权重 " + Fixed(weight, 0, 1)
                                        : "，" + std::to_string(level) + " 级不评";
    return tip;
}

// A score in the report's digits without the zeros that end it: 0.5, 0.4167, 0.
std::string Figure(double value) {
    std::string text = Fixed(value, 0, kReportScoreDecimals);
    if (text.find('.') == std::string::npos) return text;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

// " = (0.5 + 0.125 + 0) / 3" and what was left out of the mean, or what stands for the mean
// when nothing counted.
std::string MeanOf(const ObjectsDetail& objects) {
    std::string text;
    if (objects.counted.empty()) {
        text = "：没有计入的对象";
    } else {
        text = " = (";
        for (std::size_t i = 0; i < objects.counted.size(); ++i) text += (i == 0 ? "" : " + ") + Figure(objects.counted[i]);
        text += ") / " + std::to_string(objects.counted.size());
    }
    if (objects.notApplicable > 0) text += "，" + std::to_string(objects.notApplicable) + " 个不适用";
    if (objects.maxIgnored > 0) text += "，" + std::to_string(objects.maxIgnored) + " 个 max( 未计入";
    return text;
}

// "4.2 ← 0.2083 = (0.5 + 0.125 + 0) / 3": what the unit line stored, from which objects.
std::string StoredByUnitLine(int layer, int unit, const LineDetail& detail) {
    const std::string number = UnitNumber(layer, unit);
    if (!detail.stored) return number + " 未存入";
    return number + " ← " + Figure(detail.objects.score) + MeanOf(detail.objects);
}

std::string StoredByLayerWord(int layer, int unit, const LineDetail& detail) {
    const std::string number = UnitNumber(layer, unit);
    const auto i = static_cast<std::size_t>(unit - 1);
    if (i >= detail.words.size()) return {};
    switch (detail.words[i].effect) {
        case WordEffect::Stored: return number + " ← " + Figure(detail.words[i].score);
        case WordEffect::NotApplicable: return number + " ← 不适用";
        case WordEffect::Unchanged: break;
    }
    return number + " 不变";
}

std::string Lines(std::string first, const std::string& second) {
    return second.empty() ? first : first + "\n" + second;
}

}  // namespace

std::string WordTip(std::string_view row, std::size_t column, const LineRecord& record) {
    const bool layerLine = record.kind == LineKind::LayerLine;
    const bool countForm = record.kind == LineKind::CountForm;
    if (!countForm && ((!layerLine && record.kind != LineKind::UnitLine) || record.layer == 0)) return {};
    const std::vector<Word> words = Words(row);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto begin = static_cast<std::size_t>(Utf16Units(row.substr(0, words[i].begin)));
        const auto end = begin + static_cast<std::size_t>(Utf16Units(row.substr(words[i].begin, words[i].end - words[i].begin)));
        if (column < begin || column >= end) continue;
        const int layer = record.layer;
        if (countForm) {  // "$$": the mean the line printed
            if (i != 0) return {};
            const LineDetail detail = ReadLineDetail(row, record.level);
            return "单元得分= " + Fixed(detail.objects.mean, 0, 5) + MeanOf(detail.objects);
        }
        if (!layerLine) {  // "$$4.2": its command word names the unit
            if (i != 0) return {};
            const std::string tip = UnitTip(layer, record.unit, record.level);
            return tip.empty() ? tip : Lines(tip, StoredByUnitLine(layer, record.unit, ReadLineDetail(row, record.level)));
        }
        if (i == 0) {
            return "第" + std::to_string(layer) + "层 " +
                   std::string(LayerName(layer - 1)) +
                   "：其后的词依次是各单元的得分";
        }
        const std::string tip = UnitTip(layer, static_cast<int>(i), record.level);
        return tip.empty() ? tip : Lines(tip, StoredByLayerWord(layer, static_cast<int>(i), ReadLineDetail(row, record.level)));
    }
    return {};
}

}  // namespace quillon::app
