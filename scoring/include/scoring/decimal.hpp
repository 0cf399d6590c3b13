// Reading a decimal number at the start of a text, the way scores are written in scripts:
// optional sign, digits with an optional point (at least one digit), optional exponent.
// No "inf", "nan" or hexadecimal forms, and nothing depends on the locale.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillon {

struct DecimalRead {
    double value;
    std::size_t length;  // bytes taken from the text
};

// The number at the very start of text (no blanks skipped), or nothing when no number can be
// read there or its value is not finite (1e400 is no number; 1e-400 reads as 0).
std::optional<DecimalRead> ReadDecimal(std::string_view text);

}  // namespace quillon
