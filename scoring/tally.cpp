#include "scoring/tally.hpp"

#include <string>

#include "scoring/text_format.hpp"

namespace quillon {

void TraceTally(const ScoreStore& store, int k, const Diagnostics& trace) {
    const int n = store.UnitCount(k);
    const auto& weights = store.UnitWeights[static_cast<unsigned>(k)];
    const auto& scores = store.LayerRows[static_cast<unsigned>(k)].UnitScores;
    std::string line = "len=";
    AppendInt(line, n);
    line += " len2=";
    AppendInt(line, n);
    line += '\n';
    for (int j = 0; j < n; ++j) {  // the applicable units left out
        if (weights[static_cast<unsigned>(j)] <= ApplicableThreshold || scores[static_cast<unsigned>(j)] > CountedScoreFloor) continue;
        line += "tj :k=";
        AppendInt(line, k);
        line += " i=";
        AppendInt(line, j, 6);
        line += " err\n";
    }
    trace.write(line);
}

}  // namespace quillon
