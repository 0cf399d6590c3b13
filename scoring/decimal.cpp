#include "scoring/decimal.hpp"

#include <charconv>
#include <cmath>

namespace quillon {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i;
}

// Decimal exponent of the leading significant digit, ignoring the explicit exponent: positive
// when the digits alone are 1 or more. Used only to tell overflow from underflow.
long LeadingMagnitude(std::string_view digits) {
    long magnitude = 0;
    bool seenPoint = false;
    bool seenSignificant = false;
    for (char c : digits) {
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        if (!seenSignificant && c == '0') {
            if (seenPoint) --magnitude;
            continue;
        }
        seenSignificant = true;
        if (seenPoint) break;
        ++magnitude;
    }
    return magnitude;
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
    const std::size_t mantissaEnd = end;

    long exponent = 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t j = end + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        const std::size_t expEnd = SkipDigits(text, j);
        if (expEnd > j) {  // an exponent needs at least one digit, else it is not taken
            for (std::size_t k = j; k < expEnd; ++k) {
                if (exponent < 100000000) exponent = exponent * 10 + (text[k] - '0');
            }
            if (expNegative) exponent = -exponent;
            end = expEnd;
        }
    }

    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + mantissaStart, text.data() + end, value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const long magnitude =
            LeadingMagnitude(text.substr(mantissaStart, mantissaEnd - mantissaStart)) + exponent;
        if (magnitude > 0) return std::nullopt;  // overflow: not a finite number
        value = 0;                              // underflow reads as zero
    } else if (ec != std::errc() || ptr != text.data() + end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return DecimalRead{negative ? -value : value, end};
}

}  // namespace quillon
