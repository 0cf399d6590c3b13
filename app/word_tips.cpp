#include "app/word_tips.hpp"

#include <vector>

#include "app/utf16_units.hpp"
#include "scoring/model.hpp"
#include "scoring/text_format.hpp"

namespace quillon::app {
namespace {

struct Word {
    std::size_t begin = 0;  // bytes
    std::size_t end = 0;
};

// Words as the commands read them: separated by ASCII blanks only.
std::vector<Word> Words(std::string_view row) {
    std::vector<Word> words;
    for (std::size_t at = 0; at < row.size();) {
        if (row[at] == ' ') {
            ++at;
            continue;
        }
        const std::size_t end = std::min(row.find(' ', at), row.size());
        words.push_back({at, end});
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

}  // namespace

std::string WordTip(std::string_view row, std::size_t column, const LineRecord& record) {
    const bool layerLine = record.kind == LineKind::LayerLine;
    if ((!layerLine && record.kind != LineKind::UnitLine) || record.layer == 0) return {};
    const std::vector<Word> words = Words(row);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto begin = static_cast<std::size_t>(Utf16Units(row.substr(0, words[i].begin)));
        const auto end = begin + static_cast<std::size_t>(Utf16Units(row.substr(words[i].begin, words[i].end - words[i].begin)));
        if (column < begin || column >= end) continue;
        const int layer = record.layer;
        if (!layerLine) {  // "$$4.2": its command word names the unit
            return i == 0 ? UnitTip(layer, record.unit, record.level) : std::string();
        }
        if (i == 0) {
            return "第" + std::to_string(layer) + "层 " +
                   std::string(LayerName(layer - 1)) +
                   "：其后的词依次是各单元的得分";
        }
        return UnitTip(layer, static_cast<int>(i), record.level);
    }
    return {};
}

}  // namespace quillon::app
