// Reading a decimal number at the start of a text, the way scores are written in scripts:
// optional sign, digits with an optional point (at least one digit), optional exponent.
// No "inf", "nan" or hexadecimal forms, and nothing depends on the locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

struct DecimalRead {
    double value;
    std::size_t length;  // bytes taken from the text
};

namespace detail {
// The value of text[start, end), a mantissa and an exponent, correctly rounded; nothing when it
// is not finite.
std::optional<DecimalRead> ReadRounded(std::string_view text, std::size_t start, std::size_t end, bool negative);

inline constexpr double kPowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace detail

// The number at the very start of text (no blanks skipped), or nothing when no number can be
// read there or its value is not finite (1e400 is no number; 1e-400 reads as 0). Inline: the
// scores of a script are read here, most of them a few digits long.
inline std::optional<DecimalRead> ReadDecimal(std::string_view text) {
    using detail::IsDigit;
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) ++i;
    const std::size_t mantissaStart = i;
    std::uint64_t digits = 0;  // gathered as they are passed; past 19 it wraps, but is not used then
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
        const std::size_t digitsStart = j;
        while (j < text.size() && IsDigit(text[j])) ++j;
        if (j > digitsStart) end = j;  // an exponent needs at least one digit, else it is not taken
    }
    // Up to 15 digits without an exponent: the digits as a whole number and the power of ten
    // are both exact doubles, and one division rounds correctly, as the full reading does.
    if (digitCount <= 15 && end == mantissaEnd) {
        const double value = static_cast<double>(digits) / detail::kPowersOfTen[fractionDigits];
        return DecimalRead{negative ? -value : value, end};
    }
    return detail::ReadRounded(text, mantissaStart, end, negative);
}

}  // namespace quillon
