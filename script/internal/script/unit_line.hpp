// Unit lines ("$$4.2 VVX VXX*0.5 ..."): one unit's score from its objects' verdicts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scoring/diagnostics.hpp"
#include "scoring/objects.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

enum class UnitLineEffect : std::uint8_t {
    Stored,       // the unit holds the objects' score
    Malformed,    // the command word is not $$L.U: nothing stored
    OutOfRange,   // a layer or unit number outside 1 to 8: nothing stored
    NotAssessed,  // no weight above 0.399 at the level in force: nothing stored
};

struct UnitLineOutcome {
    int result = 1;  // 1 handled (stored, malformed or out of range), -1 not assessed
    UnitLineEffect effect = UnitLineEffect::Malformed;
    int layer = 0;  // as written, 1-based, when the command word was read
    int unit = 0;
    std::size_t commandLength = 0;  // the objects start after it; their scan is in the table
    std::size_t addressLength = 0;  // of the command word, the bytes "$$L.U" took when read
    double score = 0;               // the objects' score (stored when Stored)
};

// The unit a unit line's command word addresses: "$$L.U", read as far as it goes ($$4.2x is
// 4.2, $$4.02 is 4.2). A layer or unit outside 1 to 8 comes back as a negative number.
struct UnitAddress {
    int layer;
    int unit;
    std::size_t length;  // the bytes read, "$$" included
};
UnitAddress UnitAddressOf(std::string_view line);

// Stores the count-form score of the objects as unit L.U with its tally record. The layer is
// re-tallied later, not here.
UnitLineOutcome SetUnitScore(ScoreStore& store, ObjectTable& table, std::string_view line, const Diagnostics& trace);

}  // namespace quillon
