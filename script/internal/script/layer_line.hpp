// Layer lines ("@@" and a layer digit): the scores of every unit of one layer at once.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "scoring/diagnostics.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// What a layer line did with one unit's word.
enum class LayerWordEffect : std::uint8_t {
    Missing,        // no word: unchanged
    Keep,           // "*": unchanged
    NotApplicable,  // "-", "/" or "\": -1.0
    Stored,         // a number, stored as the unit score
    NotANumber,     // unchanged
    NotAssessed,    // the level does not assess the unit: unchanged
};

struct LayerWordOutcome {
    LayerWordEffect effect = LayerWordEffect::Missing;
    std::uint16_t start = 0;   // in the line
    std::uint16_t length = 0;  // as written
    std::uint16_t numberLength = 0;  // Stored: the bytes the number took
    bool cut = false;          // longer than kLayerWordMaxBytes: only the start was read
    bool minusNumber = false;  // NotApplicable: the word was a negative number
    // Stored: the number ended before the word did (0.5abc); Keep, NotApplicable: more than
    // the marks followed the first byte (*0.5, /x), which alone decided.
    bool partlyRead = false;
    std::int8_t range = 0;     // Stored: 1 above 1, -1 below 0, 0 within
};

// deal_CC sets every field for each line, and the words of the layer's units; a field added
// here must be set there too.
struct LayerLineOutcome {
    int result = -1;  // 2 handled, -1 not "@@" with a layer digit 1 to 8 (nothing changed)
    int layer = 0;    // index, 0 for layer 1
    int units = 0;    // the layer's unit count
    std::array<LayerWordOutcome, kMaxUnitsPerLayer> words{};  // of units 1 to `units`
    std::size_t extraWords = 0;  // words beyond the layer's units, ignored
};

// The layer a layer line sets, 1 to 8, from the byte after "@@"; 0 when it sets none.
inline int LayerDigitOf(std::string_view line) {
    if (line.size() < 3 || line[0] != '@' || line[1] != '@' || line[2] < '1' || line[2] > '8') return 0;
    return line[2] - '0';
}

// Fills the outcome in place: it is read back at once, and a copy of it would cost more than
// a short line's reading.
void deal_CC(ScoreStore& store, std::string_view line, const Diagnostics& trace, LayerLineOutcome& outcome);

}  // namespace quillon
