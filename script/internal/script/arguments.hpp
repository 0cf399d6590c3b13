// The hexadecimal argument of "mpinit=" and "mpout" lines: skip the command word, then blanks,
// an optional sign, an optional 0x, hex digits. The value wraps modulo 2^32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

struct HexRead {
    std::int32_t value;
    std::size_t length;  // the bytes of the argument word read; the rest is ignored
};

// Nothing when no hex digit can be read: the line's fallback holds then.
std::optional<HexRead> ReadHexArgument(std::string_view line);

inline std::optional<std::int32_t> ParseHexArgument(std::string_view line) {
    const auto read = ReadHexArgument(line);
    return read ? std::optional<std::int32_t>(read->value) : std::nullopt;
}

// The word after the command word, if the line has one.
std::string_view ArgumentWord(std::string_view line);

}  // namespace quillon
