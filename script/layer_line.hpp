// Layer lines ("@@" and a layer digit): the scores of every unit of one layer at once.
#pragma once

#include <string_view>

#include "scoring/diagnostics.hpp"
#include "scoring/score_store.hpp"

namespace quillon {


// Returns 2 when the line was handled, -1 when it is not "@@" with a layer digit 1 to 8.
int deal_CC(ScoreStore& store, std::string_view line, const Diagnostics& diagnostics);

}  // namespace quillon
