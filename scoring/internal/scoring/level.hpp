// Level set-up: switching a level's weights in, and the level set-up's effect on scores.
#pragma once

#include <cstdint>

#include "scoring/diagnostics.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// Level 1 to 4: its weights, the unit count string and the level number; scores are kept.
void SelectLevel(ScoreStore& store, int level);

// Level 1 to 4 is switched in (any other number keeps the level in force). x = 1 copies the
// level's weights into the scores, x = 2 clears every applicable unit to not entered; any x
// resets every unit tally record to -1.
void InitLevel(ScoreStore& store, int level, std::int32_t x, const Diagnostics& diagnostics);

}  // namespace quillon
