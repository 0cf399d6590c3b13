// The count form: a unit score from its objects (the plain mean of the counted object scores,
// rounded half up to 4 decimals) and the line that shows the counts behind it.
#pragma once

#include <string>
#include <string_view>

#include "scoring/model.hpp"
#include "scoring/objects.hpp"
#include "scoring/report_text.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// The mean of the counted object scores the table's last scan left; NoObjectScore when it
// counted none.
inline double CountFormMean(const ObjectTable& table) {
    return table.CountedObjects > 0 ? table.ScoreSum / table.CountedObjects : NoObjectScore;
}

// Scores the objects and returns the rounded unit score, NoObjectScore when nothing counted.
// Optional outputs: the tally record (the six integers a unit keeps), the report (the result
// line, the object list and CR LF appended) and the result text (line and list, no line end).
double CountFormScore(ObjectTable& table, std::string_view objects, UnitTally* tally,
                      ReportText* report, std::string* resultText);

}  // namespace quillon
