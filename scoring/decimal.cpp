#include "scoring/decimal.hpp"

#include <fast_float/fast_float.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace quillon {
namespace {

constexpr std::array<double, 16> kPowersOfTen = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

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
    // The digits are gathered as they are passed; past 19 of them the sum wraps, but then it is
    // not used.
    const std::size_t mantissaStart = i;
    std::uint64_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
    std::size_t digitCount = i - mantissaStart;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
        fractionDigits = i - fractionStart;
        digitCount += fractionDigits;
    }
    if (digitCount == 0) return std::nullopt;

    const std::size_t mantissaEnd = i;
    std::size_t end = mantissaEnd;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t j = end + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t expEnd = SkipDigits(text, j);
        if (expEnd > j) end = expEnd;  // an exponent needs at least one digit, else it is not taken
    }

    // Up to 15 digits without an exponent: the digits as a whole number and the power of ten
    // are both exact doubles, and one division rounds correctly, as fast_float does.
    if (digitCount <= 15 && end == mantissaEnd) {
        const double value = static_cast<double>(digits) / kPowersOfTen[fractionDigits];
        return DecimalRead{negative ? -value : value, end};
    }

    // fast_float rounds correctly and never looks at the locale; a value too large for a double
    // comes back infinite (no number), one too small comes back as zero.
    double value = 0;
    const auto [ptr, ec] = fast_float::from_chars(text.data() + mantissaStart, text.data() + end, value);
    if (ec != std::errc() || ptr != text.data() + end || !std::isfinite(value)) return std::nullopt;
    return DecimalRead{negative ? -value : value, end};
}

}  // namespace quillon
