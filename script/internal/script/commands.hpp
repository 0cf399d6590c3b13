// The script's commands: the words a line may begin with, in the order the interpreter tries
// them, what a line that matches is taken as, and how its arguments are read. The interpreter
// dispatches on this table; the account, the checks of the text and the views go through it or
// through the account's record of what the interpreter did, never through words of their own.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "scoring/model.hpp"
#include "script/account.hpp"
#include "script/arguments.hpp"

namespace quillon {

// What must follow a command word for the line to be that command.
enum class AfterWord : std::uint8_t {
    Anything,
    Blank,       // "$$ ": a count form, not a unit line
    LevelDigit,  // "mpinit=" and a level 1 to 4; any other byte makes the line a comment
};

struct Command {
    std::string_view word;  // bytewise and case-sensitive, from the line's first byte
    AfterWord after;
    LineKind kind;
    // The line's own argument readers: an optional level digit right after the word (mpout3),
    // and a hexadecimal word after the command word with its default when none is read.
    bool optionalLevelDigit;
    bool hexArgument;
    std::uint32_t hexDefault;
};

inline constexpr std::uint32_t kLevelSetUpDefault = 1;  // each unit's score is its weight

inline constexpr std::array<Command, 6> kCommands = {{
    {"mpinit=", AfterWord::LevelDigit, LineKind::LevelSetUp, false, true, kLevelSetUpDefault},
    {"$$", AfterWord::Blank, LineKind::CountForm, false, false, 0},
    {"$$", AfterWord::Anything, LineKind::UnitLine, false, false, 0},
    {"@@", AfterWord::Anything, LineKind::LayerLine, false, false, 0},
    {"mpout", AfterWord::Anything, LineKind::Report, true, true, DefaultReportFlags},
    {"mpec", AfterWord::Anything, LineKind::Echo, false, false, 0},
}};

// The command a collected line is, or nothing for a comment.
const Command* CommandOf(std::string_view line);

// The command whose word the line begins with, whether or not what follows makes it that
// command ("mpinit=9" begins with "mpinit=" and is a comment).
const Command* CommandWordOf(std::string_view line);

// The arguments of a level set-up or report line, as its command reads them.
struct CommandArguments {
    int level = 0;                     // the level digit: mpinit='s, or mpout's when it has one; 0 none
    std::optional<HexRead> read;       // the hexadecimal word, if hex digits were read
    std::uint32_t value = 0;           // what was read, or the command's default
};
CommandArguments ReadArguments(const Command& command, std::string_view line);

}  // namespace quillon
