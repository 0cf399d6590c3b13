#include "script/layer_line.hpp"

#include <algorithm>
#include <string>

#include "scoring/decimal.hpp"
#include "text/gbk_width.hpp"
#include "scoring/limits.hpp"
#include "scoring/tally.hpp"
#include "scoring/text_format.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

void TraceScoreWord(const Diagnostics& trace, std::string_view word) {
    if (!trace.enabled()) return;
    std::string line = "_buf_line[i]=";
    line += word;
    line += " debug\n";
    trace.write(line);
}

void TraceLayerDone(const ScoreStore& store, int k, const std::array<std::string_view, 2>& firstWords,
                    const Diagnostics& trace) {
    if (!trace.enabled()) return;
    std::string line = "符合的层数=";
    line += std::string_view(store.UnitCountString.data());
    line += " 输入层数=";
    AppendInt(line, k + 1);
    line += "  len=";
    AppendInt(line, store.UnitCount(k));
    line += " \r\n";
    line += firstWords[0];
    line += ' ';
    line += firstWords[1];
    line += "  debug\n";
    trace.write(line);
}

// Word i after the command word sets unit i + 1 of the layer.
void ReadUnitWord(ScoreStore& store, int k, unsigned i, std::string_view w, LayerWordOutcome& word,
                  const Diagnostics& trace) {
    auto& score = store.LayerRows[static_cast<unsigned>(k)].UnitScores[i];
    const double weight = store.UnitWeights[static_cast<unsigned>(k)][i];
    if (w[0] == '*') {
        word.effect = LayerWordEffect::Keep;
        word.partlyRead = w.find_first_not_of('*') != std::string_view::npos;
    } else if (w[0] == '-' || w[0] == '\\' || w[0] == '/') {
        score = NotApplicableMark;
        word.effect = LayerWordEffect::NotApplicable;
        word.minusNumber = w[0] == '-' && ReadDecimal(w).has_value();
        word.partlyRead = !word.minusNumber && w.find_first_not_of("-/\\") != std::string_view::npos;
    } else if (weight > ApplicableThreshold) {
        if (const auto number = ReadDecimal(w)) {
            score = number->value;
            word.effect = LayerWordEffect::Stored;
            word.range = static_cast<std::int8_t>(number->value > 1 ? 1 : (number->value < 0 ? -1 : 0));
            word.numberLength = static_cast<std::uint16_t>(number->length);
            word.partlyRead = number->length < w.size();
        } else {
            word.effect = LayerWordEffect::NotANumber;
        }
        TraceScoreWord(trace, w);
    } else {
        word.effect = LayerWordEffect::NotAssessed;
        trace.write("疑似您输入的单元   不是 2级密评系统必须系统\n");
    }
}

}  // namespace

void deal_CC(ScoreStore& store, std::string_view line, const Diagnostics& trace, LayerLineOutcome& outcome) {
    // Set for this line: the outcome is reused line after line, and clearing all of it each time
    // costs more than reading a short line.
    outcome.result = -1;
    outcome.layer = 0;
    outcome.units = 0;
    outcome.extraWords = 0;
    if (LayerDigitOf(line) == 0) {
        trace.write("deal_CC 必须 @@1-8 \n");
        return;
    }
    const int k = line[2] - '1';
    outcome.layer = k;
    outcome.units = store.UnitCount(k);
    outcome.words = {};  // all of them at once costs less than a loop over the layer's
    // Each word is cut to kLayerWordMaxBytes; words past the eighth are only counted.
    std::array<std::string_view, 2> firstWords{};
    std::size_t count = 0;
    WordCursor cursor(line);
    cursor.next();  // the command word
    for (std::string_view w = cursor.next(); !w.empty(); w = cursor.next(), ++count) {
        if (count >= kMaxUnitsPerLayer) continue;
        const std::size_t kept = GbkPrefixLength(w, kLayerWordMaxBytes);
        LayerWordOutcome& word = outcome.words[count];
        word.start = static_cast<std::uint16_t>(w.data() - line.data());
        word.length = static_cast<std::uint16_t>(w.size());
        word.cut = kept < w.size();
        if (count < firstWords.size()) firstWords[count] = w.substr(0, kept);
        if (count < static_cast<std::size_t>(outcome.units)) {
            ReadUnitWord(store, k, static_cast<unsigned>(count), w.substr(0, kept), word, trace);
        }
    }
    if (count > static_cast<std::size_t>(outcome.units)) {
        outcome.extraWords = count - static_cast<std::size_t>(outcome.units);
    }
    TallyLayer(store, k, trace);
    TraceLayerDone(store, k, firstWords, trace);
    outcome.result = 2;
}

}  // namespace quillon
