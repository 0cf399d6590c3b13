// --check's text: the problems and notes of one script's account.
#pragma once

#include <string>

#include "script/account.hpp"

namespace quillon::cli {

// "FILE:LINE:COLUMN: 警告[CODE]: message" for every problem in line order (no column for a
// problem about a whole line), and a line for the rest; then the notes, as "提示[CODE]".
std::string ProblemLines(const std::string& file, const ScriptAccount& account);

}  // namespace quillon::cli
