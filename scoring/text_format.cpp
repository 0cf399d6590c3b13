#include "scoring/text_format.hpp"

#include <charconv>

#include "scoring/decimal.hpp"
#include "scoring/fixed_format.hpp"
#include "text/utf8.hpp"

namespace quillon {
namespace {

void AppendRightAligned(std::string& out, std::string_view digits, int width) {
    for (int pad = width - static_cast<int>(digits.size()); pad > 0; --pad) out.push_back(' ');
    out.append(digits);
}

}  // namespace

void AppendFixed(std::string& out, double value, int width, int precision) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    char buffer[400];  // the widest double in fixed notation has 309 integer digits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, precision);
    AppendRightAligned(out, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)),
                       width);
#else
    AppendRightAligned(out, ExactFixed(value, precision), width);
#endif
}

void AppendInt(std::string& out, long long value, int width) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    AppendRightAligned(out, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)),
                       width);
}

void AppendHex(std::string& out, std::uint32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    out.append(buffer, result.ptr);
}

void AppendPadded(std::string& out, std::string_view text, int width) {
    int used = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[i]));
        const int cells = length == 1 ? 1 : 2;
        if (used + cells > width || i + length > text.size()) break;
        out.append(text.substr(i, length));
        used += cells;
        i += length;
    }
    for (; used < width; ++used) out.push_back(' ');
}

std::string Fixed(double value, int width, int precision) {
    std::string out;
    AppendFixed(out, value, width, precision);
    return out;
}

std::optional<double> PrintedFigure(double value, int precision) {
    const auto number = ReadDecimal(Fixed(value, 0, precision));
    if (!number) return std::nullopt;
    return number->value;
}

}  // namespace quillon
