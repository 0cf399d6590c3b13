// Level set-up: switching a level's weights in, and the "mpinit" command's effect on scores.
#pragma once

#include <cstdint>
#include <string_view>

#include "scoring/diagnostics.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// Level 1 to 4: its weights, the unit count string and the level number; scores are kept.
void SelectLevel(ScoreStore& store, int level);

// The line begins "mpinit=" and its eighth byte picks the level. x = 1 copies the level's
// weights into the scores, x = 2 clears every applicable unit to not entered; any x resets
// every unit tally record to -1.
void InitLevel(ScoreStore& store, std::string_view line, std::int32_t x,
               const Diagnostics& diagnostics);

}  // namespace quillon
