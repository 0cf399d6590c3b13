#include "script/layer_line.hpp"

#include <array>
#include <string>

#include "scoring/decimal.hpp"
#include "scoring/gbk_width.hpp"
#include "scoring/limits.hpp"
#include "scoring/tally.hpp"
#include "scoring/text_format.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

struct LayerWords {
    std::array<std::string_view, kMaxUnitsPerLayer> slots{};
    unsigned cut = 0;  // bit i: the word of slot i was cut to kLayerWordMaxBytes

    std::string_view operator[](unsigned i) const { return slots[i]; }
};

// The words after the command word, at most 8, each cut to its slot's 199 bytes.
LayerWords SplitLayerWords(std::string_view line) {
    LayerWords words;
    WordCursor cursor(line);
    cursor.next();  // the command word
    for (unsigned i = 0; i < words.slots.size(); ++i) {
        const std::string_view w = cursor.next();
        if (w.empty()) break;
        const std::size_t kept = GbkPrefixLength(w, kLayerWordMaxBytes);
        if (kept < w.size()) words.cut |= 1u << i;
        words.slots[i] = w.substr(0, kept);
    }
    return words;
}

std::size_t WordCount(std::string_view line) {
    WordCursor cursor(line);
    std::size_t count = 0;
    while (!cursor.next().empty()) ++count;
    return count;
}

std::string UnitName(int k, int i) { return std::to_string(k + 1) + "." + std::to_string(i + 1); }

void NoteLayerLine(const ScoreStore& store, int k, std::string_view line, const LayerWords& words,
                   const Diagnostics& diagnostics) {
    const int n = store.UnitCount(k);
    const auto& weights = store.UnitWeights[static_cast<unsigned>(k)];
    for (int i = 0; i < n; ++i) {
        const std::string_view w = words[static_cast<unsigned>(i)];
        if (w.empty() || w[0] == '*') continue;
        const auto word = [w] { return std::string(w); };
        if (words.cut & (1u << i)) {
            diagnostics.problem(problem::LayerWordCut, "单元 " + UnitName(k, i) + " 的词超过 " +
                                                           std::to_string(kLayerWordMaxBytes) + " 字节，只取前 " +
                                                           std::to_string(kLayerWordMaxBytes) + " 字节");
        }
        if (w[0] == '-' || w[0] == '\\' || w[0] == '/') {
            if (w[0] == '-' && ReadDecimal(w)) {
                diagnostics.problem(problem::MinusMeansNotApplicable,
                                    "“" + word() + "”以减号开头，单元 " + UnitName(k, i) + " 按不适用处理，不是负分");
            }
        } else if (!(weights[static_cast<unsigned>(i)] > ApplicableThreshold)) {
            diagnostics.problem(problem::LayerUnitNotAssessed, std::to_string(store.AssessmentLevel) + "级不评单元 " +
                                                                   UnitName(k, i) + "，得分“" + word() + "”未录入");
        } else if (const auto number = ReadDecimal(w); !number) {
            diagnostics.problem(problem::NotANumber,
                                "“" + word() + "”不是数字，单元 " + UnitName(k, i) + " 的得分未改变");
        } else if (number->value > 1 || number->value < 0) {
            diagnostics.problem(problem::ScoreOutOfRange, "单元 " + UnitName(k, i) + " 的得分 " + word().substr(0, number->length) +
                                                               (number->value > 1 ? " 大于 1" : " 小于 0"));
        }
    }
    const std::size_t given = WordCount(line) - 1;  // after the command word
    const std::size_t extra = given > static_cast<std::size_t>(n) ? given - static_cast<std::size_t>(n) : 0;
    if (extra > 0) {
        diagnostics.problem(problem::ExtraLayerWords, "第" + std::to_string(k + 1) + "层只有 " + std::to_string(n) +
                                                          " 个单元，多出的 " + std::to_string(extra) + " 个词被忽略");
    }
}

void TraceScoreWord(const Diagnostics& diagnostics, std::string_view word) {
    if (!diagnostics.enabled()) return;
    std::string line = "_buf_line[i]=";
    line += word;
    line += " debug\n";
    diagnostics.write(line);
}

void TraceLayerDone(const ScoreStore& store, int k, const LayerWords& words,
                    const Diagnostics& diagnostics) {
    if (!diagnostics.enabled()) return;
    std::string line = "符合的层数=";
    line += std::string_view(store.UnitCountString.data());
    line += " 输入层数=";
    AppendInt(line, k + 1);
    line += "  len=";
    AppendInt(line, store.UnitCount(k));
    line += " \r\n";
    line += words[0];
    line += ' ';
    line += words[1];
    line += "  debug\n";
    diagnostics.write(line);
}

}  // namespace

int deal_CC(ScoreStore& store, std::string_view line, const Diagnostics& diagnostics) {
    if (line.size() < 3 || line.substr(0, 2) != "@@" || line[2] < '1' || line[2] > '8') {
        diagnostics.write("deal_CC 必须 @@1-8 \n");
        diagnostics.problem(problem::LayerDigit, "层面指令应写成 @@1～@@8，本行未改变任何得分");
        return -1;
    }
    const int k = line[2] - '1';
    const LayerWords words = SplitLayerWords(line);
    auto& scores = store.LayerRows[static_cast<unsigned>(k)].UnitScores;
    const auto& weights = store.UnitWeights[static_cast<unsigned>(k)];
    for (int i = 0; i < store.UnitCount(k); ++i) {
        const std::string_view w = words[static_cast<unsigned>(i)];
        double& score = scores[static_cast<unsigned>(i)];
        if (w.empty() || w[0] == '*') continue;  // missing or keep: unchanged
        if (w[0] == '-' || w[0] == '\\' || w[0] == '/') {
            score = NotApplicableMark;
        } else if (weights[static_cast<unsigned>(i)] > ApplicableThreshold) {
            if (const auto number = ReadDecimal(w)) score = number->value;
            TraceScoreWord(diagnostics, w);
        } else {
            diagnostics.write("疑似您输入的单元   不是 2级密评系统必须系统\n");
        }
    }
    if (diagnostics.accounting()) NoteLayerLine(store, k, line, words, diagnostics);
    TallyLayer(store, k, diagnostics);
    TraceLayerDone(store, k, words, diagnostics);
    return 2;
}

}  // namespace quillon
