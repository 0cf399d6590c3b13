// The hexadecimal argument of "mpinit=" and "mpout" lines: skip the command word, then blanks,
// an optional sign, an optional 0x, hex digits. The value wraps modulo 2^32.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillon {

std::int32_t ReadHexArgument(std::string_view line, std::int32_t fallback);

}  // namespace quillon
