// What a word of a layer or unit line sets, for the tooltip over it: the unit's number, title
// and weight at the level in force, so that the assessor sees which unit "0.5" is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "script/account.hpp"

namespace quillon::app {

// The tip of the word at `column` (UTF-16 units from the row's start) of a row, as the record
// of what the interpreter did with the row says; empty over anything else.
std::string WordTip(std::string_view row, std::size_t column, const LineRecord& record);

}  // namespace quillon::app
