#include "script/arguments.hpp"

#include "script/words.hpp"

namespace quillon {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string_view ArgumentWord(std::string_view line) {
    WordCursor words(line);
    words.next();
    return words.next();
}

std::optional<std::int32_t> ParseHexArgument(std::string_view line) {
    WordCursor words(line);
    if (words.next().empty()) return std::nullopt;  // no command word at all
    const std::string_view rest = words.rest();
    std::size_t i = 0;
    while (i < rest.size() && rest[i] == ' ') ++i;
    if (i == rest.size()) return std::nullopt;

    bool negative = false;
    if (rest[i] == '+' || rest[i] == '-') {
        negative = rest[i] == '-';
        ++i;
    }
    // "0x" followed by a byte that is not a hex digit has still read the digit 0.
    bool sawDigit = false;
    if (i + 1 < rest.size() && rest[i] == '0' && (rest[i + 1] == 'x' || rest[i + 1] == 'X')) {
        sawDigit = true;
        i += 2;
    }
    std::uint32_t value = 0;
    for (int digit = 0; i < rest.size() && (digit = HexDigit(rest[i])) >= 0; ++i) {
        value = value * 16u + static_cast<std::uint32_t>(digit);
        sawDigit = true;
    }
    if (!sawDigit) return std::nullopt;
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

}  // namespace quillon
