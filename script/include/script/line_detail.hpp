// What a unit line, a count form or a layer line computed, read again for the one row a view
// asks about. The line's own handler runs on a model of its own at the level the run had there,
// which is all it reads besides the line, so the figures are the run's; a run keeps none of it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "scoring/model.hpp"
#include "script/account.hpp"

namespace quillon {

struct ObjectsDetail {
    std::vector<double> counted;  // each counted object's score, its weights applied, in order
    int notApplicable = 0;
    int maxIgnored = 0;           // max( tokens that were not counted
    double mean = NoObjectScore;  // of the counted scores, as the count form prints it
    double score = NoObjectScore; // the mean rounded to 4 decimals: what a unit line stores
};

// What a layer line's word did to its unit.
enum class WordEffect : std::uint8_t { Unchanged, NotApplicable, Stored };

struct WordDetail {
    WordEffect effect = WordEffect::Unchanged;
    double score = 0;  // Stored: the score, as the unit holds it
};

struct LineDetail {
    LineKind kind = LineKind::Comment;
    bool stored = false;     // a unit line: its unit holds objects.score
    ObjectsDetail objects;   // a unit line or a count form
    std::vector<WordDetail> words;  // a layer line: unit 1's word first, one for each unit
};

// The row as it stands (control bytes and all, no line end), at `level` (1 to 4).
LineDetail ReadLineDetail(std::string_view row, int level);

}  // namespace quillon
