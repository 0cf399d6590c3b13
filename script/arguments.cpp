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

std::optional<HexRead> ReadHexArgument(std::string_view line) {
    // The argument is the word after the command word: no hex digit reads past a blank.
    const std::string_view word = ArgumentWord(line);
    std::size_t i = 0;
    if (word.empty()) return std::nullopt;

    bool negative = false;
    if (word[i] == '+' || word[i] == '-') {
        negative = word[i] == '-';
        ++i;
    }
    // "0x" followed by a byte that is not a hex digit has still read the digit 0.
    bool sawDigit = false;
    if (i + 1 < word.size() && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) {
        sawDigit = true;
        i += 2;
    }
    std::uint32_t value = 0;
    for (int digit = 0; i < word.size() && (digit = HexDigit(word[i])) >= 0; ++i) {
        value = value * 16u + static_cast<std::uint32_t>(digit);
        sawDigit = true;
    }
    if (!sawDigit) return std::nullopt;
    if (negative) value = 0u - value;
    return HexRead{static_cast<std::int32_t>(value), i};
}

}  // namespace quillon
