// What a word of a layer or unit line sets, for the tooltip over it: the unit's number, title
// and weight at the level in force, so that the assessor sees which unit "0.5" is, and what the
// line stored there; over a count form's "$$", the mean it printed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "script/account.hpp"

namespace quillon::app {

// The tip of the word at `column` (UTF-16 units from the row's start) of a row, as the record
// of what the interpreter did with the row says; empty over anything else. Lines end with LF.
// The figures are worked out again from the row, only for the word asked about:
//   "$$4.2 VVX VXX*0.5 XXX"  over "$$4.2": the unit's line, then "4.2 ← 0.2083 = (0.5 + 0.125 + 0) / 3"
//   "@@4 0.6667 -"           over "0.6667": the unit's line, then "4.1 ← 0.6667"
//   "$$ VVX VXX*0.5 XXX"     over "$$": "单元得分= 0.20833 = (0.5 + 0.125 + 0) / 3"
std::string WordTip(std::string_view row, std::size_t column, const LineRecord& record);

}  // namespace quillon::app
