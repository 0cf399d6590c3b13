// Reports past the report's limit change the model only. A report is a function of the model
// it finds (scores, weights, level), its flags and the level it forces, so the same
// inputs give the same model again: the memo hands that back instead of working it out anew,
// which spares a script of a million report lines a million re-tallies. Exact by construction:
// the inputs are compared bit for bit.
#pragma once

#include <cstdint>
#include <string_view>

#include "scoring/diagnostics.hpp"
#include "scoring/report_text.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

class ReportMemo {
public:
    // WriteScoreReport, or its remembered effect when the report takes no more text and the
    // inputs are those of the last report worked out here. `unchanged` says that nothing but
    // this memo has touched the store since its last call.
    void write(ScoreStore& store, int forcedLevel, ReportText& report, std::uint32_t flags, const Diagnostics& trace,
               bool unchanged);

private:
    bool valid_ = false;
    std::uint32_t flags_ = 0;
    int forcedLevel_ = 0;
    // The store is as this memo's last call left it, and that report leaves its inputs as it
    // found them: the same report again changes nothing.
    bool settled_ = false;
    bool fixpoint_ = false;  // after_ holds the inputs before_ holds
    ScoreStore before_{};  // the inputs it found
    ScoreStore after_{};   // what it left
};

}  // namespace quillon
