#include "script/commands.hpp"

#include <utility>

#include "script/layer_line.hpp"
#include "script/lines.hpp"
#include "script/unit_line.hpp"
#include "script/words.hpp"

namespace quillon {
namespace {

bool IsLevelDigit(char c) { return c >= '1' && c <= '4'; }

bool Follows(const Command& command, std::string_view line) {
    const std::size_t at = command.word.size();
    switch (command.after) {
        case AfterWord::Blank: return line.size() > at && line[at] == ' ';
        case AfterWord::LevelDigit: return line.size() > at && IsLevelDigit(line[at]);
        case AfterWord::Anything: break;
    }
    return true;
}

// Whether the line is command I: its word known when this is compiled, the comparison is a byte
// or two of the line, with no table to read first and no call to compare.
template <std::size_t I>
bool Is(std::string_view line) {
    constexpr std::string_view word = kCommands[I].word;
    return StartsWith(line, word) && Follows(kCommands[I], line);
}

template <std::size_t... I>
const Command* CommandAmong(std::string_view line, std::index_sequence<I...>) {
    const Command* found = nullptr;
    static_cast<void>(((Is<I>(line) && (found = &kCommands[I]) != nullptr) || ...));  // the first in table order
    return found;
}

}  // namespace

const Command* CommandOf(std::string_view line) {
    return CommandAmong(line, std::make_index_sequence<kCommands.size()>());
}

const Command* CommandWordOf(std::string_view line) {
    for (const Command& command : kCommands) {
        if (StartsWith(line, command.word)) return &command;
    }
    return nullptr;
}

CommandArguments ReadArguments(const Command& command, std::string_view line) {
    CommandArguments arguments;
    const std::size_t at = command.word.size();
    if ((command.after == AfterWord::LevelDigit || command.optionalLevelDigit) && line.size() > at &&
        IsLevelDigit(line[at])) {
        arguments.level = line[at] - '0';
    }
    if (command.hexArgument) {
        arguments.read = ReadHexArgument(line);
        arguments.value = arguments.read ? static_cast<std::uint32_t>(arguments.read->value) : command.hexDefault;
    }
    return arguments;
}

LineRecord ReadLineAlone(std::string_view row) {
    LineRecord record;
    const std::string line = CollectedRow(row);
    const Command* command = CommandOf(line);
    if (command == nullptr) return record;
    record.kind = command->kind;
    if (record.kind == LineKind::UnitLine) {
        const UnitAddress address = UnitAddressOf(line);
        if (address.layer > 0 && address.unit > 0) {
            record.layer = static_cast<std::uint8_t>(address.layer);
            record.unit = static_cast<std::uint8_t>(address.unit);
        }
    } else if (record.kind == LineKind::LayerLine) {
        record.layer = static_cast<std::uint8_t>(LayerDigitOf(line));
    }
    return record;
}

}  // namespace quillon
