#include "scoring/decimal.hpp"

#include <fast_float/fast_float.h>

#include <cmath>
#include <system_error>

namespace quillon {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i;
}

}  // namespace

std::optional<DecimalRead> ReadDecimal(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    const std::size_t intEnd = SkipDigits(text, i);
    std::size_t end = intEnd;
    std::size_t digitCount = intEnd - mantissaStart;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fracEnd = SkipDigits(text, end + 1);
        digitCount += fracEnd - (end + 1);
        end = fracEnd;
    }
    if (digitCount == 0) return std::nullopt;

    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t j = end + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t expEnd = SkipDigits(text, j);
        if (expEnd > j) end = expEnd;  // an exponent needs at least one digit, else it is not taken
    }

    // fast_float rounds correctly and never looks at the locale; a value too large for a double
    // comes back infinite (no number), one too small comes back as zero.
    double value = 0;
    const auto [ptr, ec] = fast_float::from_chars(text.data() + mantissaStart, text.data() + end, value);
    if (ec != std::errc() || ptr != text.data() + end || !std::isfinite(value)) return std::nullopt;
    return DecimalRead{negative ? -value : value, end};
}

}  // namespace quillon
