#include "script/layer_line.hpp"

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
    std::array<std::string_view, kMaxUnitsPerLayer> slots{};  // each cut to 199 bytes
    std::size_t count = 0;  // all words after the command word, also those past the eighth
};

// The words after the command word, at most 8 in their slots.
LayerWords SplitLayerWords(std::string_view line, LayerLineOutcome& outcome) {
    LayerWords words;
    WordCursor cursor(line);
    cursor.next();  // the command word
    for (std::string_view w = cursor.next(); !w.empty(); w = cursor.next(), ++words.count) {
        if (words.count >= words.slots.size()) continue;
        const std::size_t kept = GbkPrefixLength(w, kLayerWordMaxBytes);
        words.slots[words.count] = w.substr(0, kept);
        auto& word = outcome.words[words.count];
        word.start = static_cast<std::uint16_t>(w.data() - line.data());
        word.length = static_cast<std::uint16_t>(w.size());
        word.cut = kept < w.size();
    }
    return words;
}

void TraceScoreWord(const Diagnostics& trace, std::string_view word) {
    if (!trace.enabled()) return;
    std::string line = "_buf_line[i]=";
    line += word;
    line += " debug\n";
    trace.write(line);
}

void TraceLayerDone(const ScoreStore& store, int k, const LayerWords& words, const Diagnostics& trace) {
    if (!trace.enabled()) return;
    std::string line = "符合的层数=";
    line += std::string_view(store.UnitCountString.data());
    line += " 输入层数=";
    AppendInt(line, k + 1);
    line += "  len=";
    AppendInt(line, store.UnitCount(k));
    line += " \r\n";
    line += words.slots[0];
    line += ' ';
    line += words.slots[1];
    line += "  debug\n";
    trace.write(line);
}

}  // namespace

LayerLineOutcome deal_CC(ScoreStore& store, std::string_view line, const Diagnostics& trace) {
    LayerLineOutcome outcome;
    if (line.size() < 3 || line.substr(0, 2) != "@@" || line[2] < '1' || line[2] > '8') {
        trace.write("deal_CC 必须 @@1-8 \n");
        return outcome;
    }
    const int k = line[2] - '1';
    outcome.layer = k;
    outcome.units = store.UnitCount(k);
    const LayerWords words = SplitLayerWords(line, outcome);
    auto& scores = store.LayerRows[static_cast<unsigned>(k)].UnitScores;
    const auto& weights = store.UnitWeights[static_cast<unsigned>(k)];
    for (unsigned i = 0; i < static_cast<unsigned>(outcome.units); ++i) {
        const std::string_view w = words.slots[i];
        LayerWordOutcome& word = outcome.words[i];
        if (w.empty()) continue;  // missing: unchanged
        if (w[0] == '*') {
            word.effect = LayerWordEffect::Keep;
        } else if (w[0] == '-' || w[0] == '\\' || w[0] == '/') {
            scores[i] = NotApplicableMark;
            word.effect = LayerWordEffect::NotApplicable;
            word.minusNumber = w[0] == '-' && ReadDecimal(w).has_value();
        } else if (weights[i] > ApplicableThreshold) {
            if (const auto number = ReadDecimal(w)) {
                scores[i] = number->value;
                word.effect = LayerWordEffect::Stored;
                word.range = static_cast<std::int8_t>(number->value > 1 ? 1 : (number->value < 0 ? -1 : 0));
                word.numberLength = static_cast<std::uint16_t>(number->length);
            } else {
                word.effect = LayerWordEffect::NotANumber;
            }
            TraceScoreWord(trace, w);
        } else {
            word.effect = LayerWordEffect::NotAssessed;
            trace.write("疑似您输入的单元   不是 2级密评系统必须系统\n");
        }
    }
    if (words.count > static_cast<std::size_t>(outcome.units)) {
        outcome.extraWords = words.count - static_cast<std::size_t>(outcome.units);
    }
    TallyLayer(store, k, trace);
    TraceLayerDone(store, k, words, trace);
    outcome.result = 2;
    return outcome;
}

}  // namespace quillon
