// What a word of a layer or unit line sets, for the tooltip over it: the unit's number, title
// and weight at the level in force, so that the assessor sees which unit "0.5" is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::app {

// The tip of the word at `column` (UTF-16 units from the row's start) of a row, read as the
// interpreter reads it at `level`; empty over anything else.
std::string WordTip(std::string_view row, std::size_t column, int level);

}  // namespace quillon::app
