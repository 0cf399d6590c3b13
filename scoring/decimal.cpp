#include "scoring/decimal.hpp"

#include <fast_float/fast_float.h>

#include <cmath>
#include <system_error>

namespace quillon {

// fast_float rounds correctly and never looks at the locale; a value too large for a double
// comes back infinite (no number), one too small comes back as zero.
std::optional<DecimalRead> detail::ReadRounded(std::string_view text, std::size_t start, std::size_t end,
                                               bool negative) {
    double value = 0;
    const auto [ptr, ec] = fast_float::from_chars(text.data() + start, text.data() + end, value);
    if (ec != std::errc() || ptr != text.data() + end || !std::isfinite(value)) return std::nullopt;
    return DecimalRead{negative ? -value : value, end};
}

}  // namespace quillon
