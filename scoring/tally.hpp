// The layer tally: one layer's unit scores become its weighted layer score or a layer marker.
#pragma once

#include "scoring/diagnostics.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// Re-tallies layer index k (0 is layer 1) and adds its not-entered units to NotEnteredCount.
void TallyLayer(ScoreStore& store, int k, const Diagnostics& diagnostics);

}  // namespace quillon
