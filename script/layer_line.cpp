#include "script/layer_line.hpp"

#include <array>
#include <string>

#include "scoring/decimal.hpp"
#include "scoring/utf8.hpp"
#include "scoring/tally.hpp"
#include "scoring/text_format.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

using LayerWords = std::array<std::string_view, kMaxUnitsPerLayer>;

// The words after the command word, at most 8, each cut to its slot's 199 bytes.
LayerWords SplitLayerWords(std::string_view line) {
    LayerWords words{};
    WordCursor cursor(line);
    cursor.next();  // the command word
    for (auto& word : words) {
        const std::string_view w = cursor.next();
        if (w.empty()) break;
        word = w.substr(0, Utf8PrefixLength(w, kLayerWordMaxBytes));
    }
    return words;
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
    TallyLayer(store, k, diagnostics);
    TraceLayerDone(store, k, words, diagnostics);
    return 2;
}

}  // namespace quillon
