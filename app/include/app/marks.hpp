// The problems of a run as a view marks them: the row of the script box and the word's place
// in it, in the UTF-16 code units that the Qt, browser and Win32 edit boxes all count.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "script/account.hpp"

namespace quillon::app {

struct Mark {
    std::size_t row = 0;    // the script box's line, from 0
    std::size_t begin = 0;  // the word, in UTF-16 units from the row's start; begin == end:
    std::size_t end = 0;    // the problem is about the whole line
    // The same in cells of a font whose Chinese characters are two ASCII cells wide: the
    // GBK width of the row up to there.
    std::size_t beginCell = 0;
    std::size_t endCell = 0;
    std::string message;    // "警告[Q203]: …", or "提示[Q601]: …" for a note
    bool note = false;      // a note where the script departs from the official rules

    bool operator==(const Mark&) const = default;
};

// The marks of the account over the script it was made from, problems and notes, in row order
// and on each row the problems first, so that the first mark of a row says how to tint it. Lines of the built-in notice, as
// the notice has them, are never marked: its help lines show commands, they are not commands.
// Only lines the account lists in full are marked, never some of a line's problems.
std::vector<Mark> MarksOf(const ScriptAccount& account, std::string_view script);

}  // namespace quillon::app
