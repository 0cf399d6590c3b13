// printf-like pieces for the report, free of the locale: "%W.Pf", "%Wd", "%x" and text padded
// to a width counted in GBK bytes (ASCII one byte, every other character two).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// "%<width>.<precision>f"
void AppendFixed(std::string& out, double value, int width, int precision);
// "%<width>d"
void AppendInt(std::string& out, long long value, int width = 0);
// "%x" of the value's 32 bits
void AppendHex(std::string& out, std::uint32_t value);
// "%-<width>.<width>s" with widths in GBK bytes.
void AppendPadded(std::string& out, std::string_view text, int width);

std::string Fixed(double value, int width, int precision);

// The number a figure shows when printed with `precision` decimals, as a reader of the report
// takes it; nothing for infinities and NaN, which print as words.
std::optional<double> PrintedFigure(double value, int precision);

}  // namespace quillon
