// The hexadecimal argument of "mpinit=" and "mpout" lines: skip the command word, then blanks,
// an optional sign, an optional 0x, hex digits. The value wraps modulo 2^32.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

std::int32_t ReadHexArgument(std::string_view line, std::int32_t fallback);

// The same reading; nothing when no hex digit can be read.
std::optional<std::int32_t> ParseHexArgument(std::string_view line);

// The word after the command word, if the line has one.
std::string_view ArgumentWord(std::string_view line);

}  // namespace quillon
