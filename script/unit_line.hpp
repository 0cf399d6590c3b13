// Unit lines ("$$4.2 VVX VXX*0.5 ..."): one unit's score from its objects' verdicts.
#pragma once

#include <string_view>

#include "scoring/diagnostics.hpp"
#include "scoring/objects.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// Stores the count-form score of the objects as unit L.U with its tally record. Returns 1 when
// handled (stored, or the command word was malformed or out of range), -1 when the unit has
// no weight above 0.399 at the level in force. The layer is re-tallied later, not here.
int SetUnitScore(ScoreStore& store, ObjectTable& table, std::string_view line,
                 const Diagnostics& diagnostics);

}  // namespace quillon
