// The model's rounding: scale, add 0.5, truncate toward zero to a 32-bit integer, multiply by
// the step as a double. A value whose scaled form does not fit 32 bits is left as it is.
#pragma once

#include <cstdint>
#include <limits>

namespace quillon {

inline bool FitsInt32(double t) { return t >= -2147483648.0 && t <= 2147483647.0; }

inline double RoundHalfUp(double value, double scale, double step) {
    const double scaled = value * scale + 0.5;
    if (!FitsInt32(scaled)) return value;
    return static_cast<double>(static_cast<std::int32_t>(scaled)) * step;
}

// Unit and layer scores, and the count-form score: 4 decimals.
inline double RoundTo4(double value) { return RoundHalfUp(value, 10000.0, 0.0001); }
// The printed total: 2 decimals.
inline double RoundTo2(double value) { return RoundHalfUp(value, 100.0, 0.01); }

// Truncation toward zero that saturates at the 32-bit limits instead of overflowing.
inline std::int32_t TruncateToInt32(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace quillon
