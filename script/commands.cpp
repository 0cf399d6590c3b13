#include "script/commands.hpp"

#include <array>
#include <bit>
#include <cstdint>

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

// For each first byte, the commands whose word begins with it, as bits in table order: most
// lines are tried against one command word or none.
static_assert(kCommands.size() <= 8);
constexpr std::array<std::uint8_t, 256> kCommandsByFirstByte = [] {
    std::array<std::uint8_t, 256> table{};
    for (std::size_t i = 0; i < kCommands.size(); ++i) table[static_cast<unsigned char>(kCommands[i].word[0])] |= 1u << i;
    return table;
}();

}  // namespace

const Command* CommandOf(std::string_view line) {
    if (line.empty()) return nullptr;
    for (unsigned candidates = kCommandsByFirstByte[static_cast<unsigned char>(line[0])]; candidates != 0;
         candidates &= candidates - 1) {
        const Command& command = kCommands[static_cast<unsigned>(std::countr_zero(candidates))];
        if (StartsWith(line, command.word) && Follows(command, line)) return &command;
    }
    return nullptr;
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
    // The row as the run collects it: its control bytes dropped, cut where a line is cut.
    std::string line;  // one line at most: the row holds no line end
    ForEachLine(row.substr(0, row.find_first_of("\r\n")), [&](const ScriptLine& only) { line.assign(only.text); });
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
