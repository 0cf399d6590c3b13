// The number grammars scripts use: decimal scores and hexadecimal arguments.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <string>

#include <fast_float/fast_float.h>

#include "scoring/decimal.hpp"
#include "scoring/rounding.hpp"
#include "script/arguments.hpp"

namespace quillon {
namespace {

struct DecimalCase {
    const char* name;
    const char* text;
    bool isNumber;
    double value;
    std::size_t length;
};

class DecimalGrammar : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalGrammar, Reads) {
    const auto& c = GetParam();
    const auto read = ReadDecimal(c.text);
    ASSERT_EQ(read.has_value(), c.isNumber);
    if (!read) return;
    EXPECT_EQ(read->value, c.value);
    EXPECT_EQ(std::signbit(read->value), std::signbit(c.value));
    EXPECT_EQ(read->length, c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, DecimalGrammar,
    ::testing::Values(DecimalCase{"integer", "1", true, 1, 1},
                      DecimalCase{"fraction", "0.6667", true, 0.6667, 6},
                      DecimalCase{"leading_point", ".5", true, 0.5, 2},
                      DecimalCase{"trailing_point", "5.", true, 5, 2},
                      DecimalCase{"plus_sign", "+0.25", true, 0.25, 5},
                      DecimalCase{"minus_sign", "-0.05", true, -0.05, 5},
                      DecimalCase{"negative_zero", "-0", true, -0.0, 2},
                      DecimalCase{"exponent", "1e-1", true, 0.1, 4},
                      DecimalCase{"capital_exponent", "5E-1x", true, 0.5, 4},
                      DecimalCase{"exponent_without_digits", "1e", true, 1, 1},
                      DecimalCase{"exponent_sign_without_digits", "2e+x", true, 2, 1},
                      DecimalCase{"stops_at_letters", "0.5abc", true, 0.5, 3},
                      DecimalCase{"hex_reads_zero", "0x1", true, 0, 1},
                      DecimalCase{"underflow_is_zero", "1e-400", true, 0, 6},
                      DecimalCase{"subnormal", "-1e-308", true, -1e-308, 7},
                      DecimalCase{"largest", "1e308", true, 1e308, 5},
                      DecimalCase{"many_digits", "0.33333333333333333333333333333", true,
                                  0.33333333333333333333333333333, 31},
                      DecimalCase{"overflow_is_no_number", "1e400", false, 0, 0},
                      DecimalCase{"long_overflow_is_no_number",
                                  "100000000000000000000000000000e300", false, 0, 0},
                      DecimalCase{"huge_exponent_is_no_number", "1e99999999999999999999", false, 0, 0},
                      DecimalCase{"tiny_huge_exponent_is_zero", "0.001e-99999999999999999", true, 0, 24},
                      DecimalCase{"inf", "inf", false, 0, 0},
                      DecimalCase{"nan", "nan", false, 0, 0},
                      DecimalCase{"infinity_signed", "-infinity", false, 0, 0},
                      DecimalCase{"lone_point", ".", false, 0, 0},
                      DecimalCase{"lone_sign", "+", false, 0, 0},
                      DecimalCase{"leading_blank", " 1", false, 0, 0},
                      DecimalCase{"empty", "", false, 0, 0},
                      DecimalCase{"letters", "abc", false, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Short decimals take a path of their own; each must read as the correctly rounding parser
// reads it, bit for bit: every digit count and point position, random digits.
TEST(Numbers, ShortDecimalsReadAsCorrectlyRounded) {
    std::mt19937_64 random(20261209);
    for (int trial = 0; trial < 200000; ++trial) {
        const int digits = 1 + static_cast<int>(random() % 16);
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 2)) - 1;  // -1: none
        std::string text = random() % 3 == 0 ? "-" : "";
        for (int d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        if (point == digits) text += '.';
        const auto read = ReadDecimal(text);
        ASSERT_TRUE(read.has_value()) << text;
        const std::size_t start = text[0] == '-' ? 1 : 0;
        double expected = 0;
        fast_float::from_chars(text.data() + start, text.data() + text.size(), expected);
        if (start == 1) expected = -expected;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(read->value), std::bit_cast<std::uint64_t>(expected)) << text;
        ASSERT_EQ(read->length, text.size()) << text;
    }
}

struct HexCase {
    const char* name;
    const char* line;
    std::int32_t fallback;
    std::int32_t value;
    std::size_t length = 0;  // of the word read, the rest told (Q103) and never read; 0: not checked
};

class HexArgument : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexArgument, Reads) {
    const auto& c = GetParam();
    EXPECT_EQ(ParseHexArgument(c.line).value_or(c.fallback), c.value);
    if (c.length == 0) return;
    const auto read = ReadHexArgument(c.line);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->length, c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, HexArgument,
    ::testing::Values(HexCase{"none_gives_fallback", "mpinit=2", 1, 1},
                      HexCase{"blanks_only", "mpinit=2    ", 1, 1},
                      HexCase{"one", "mpinit=3 1", 1, 1},
                      HexCase{"hex_ten", "mpinit=3 10", 1, 16},
                      HexCase{"hex_letter", "mpinit=3 a", 1, 10},
                      HexCase{"capital_letters", "mpout FF", 0x30000, 255},
                      HexCase{"flags", "mpout3  30000", 0x30000, 0x30000},
                      HexCase{"flags_and_more_words", "mpout3  30000 1", 0x30000, 0x30000, 5},
                      HexCase{"five_digits", "mpout 30100", 0x30000, 0x30100, 5},
                      HexCase{"prefix", "mpout 0x100", 0x30000, 0x100, 5},
                      HexCase{"prefix_without_digits_is_zero", "mpout 0xg", 0x30000, 0, 2},
                      HexCase{"stops_at_non_hex", "mpout 12z4", 0x30000, 0x12, 2},
                      HexCase{"plus", "mpinit=1 +2", 1, 2},
                      HexCase{"minus_negates", "mpinit=1 -1", 1, -1},
                      HexCase{"minus_before_a_comma", "mpinit=1 -1,", 1, -1, 2},
                      HexCase{"wraps_modulo_2_32", "mpinit=1 100000001", 1, 1},
                      HexCase{"top_bit_negative", "mpout 80000000", 0, INT32_MIN},
                      HexCase{"sign_without_digits", "mpout -", 0x30000, 0x30000},
                      HexCase{"word_not_hex", "mpinit=2 x", 1, 1},
                      HexCase{"word_first_is_skipped", "mpout3 20000 100", 0x30000, 0x20000},
                      HexCase{"empty_line", "", 7, 7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Numbers, RoundingHalfUpToFourAndTwoDecimals) {
    EXPECT_DOUBLE_EQ(RoundTo4(0.283333333), 2833 * 0.0001);
    EXPECT_DOUBLE_EQ(RoundTo4(0.416666666), 4167 * 0.0001);
    EXPECT_DOUBLE_EQ(RoundTo4(-0.05), -499 * 0.0001);  // truncation toward zero after + 0.5
    EXPECT_DOUBLE_EQ(RoundTo2(69.6798), 6968 * 0.01);
    EXPECT_DOUBLE_EQ(RoundTo4(1307117.3166), 1307117.3166);
    EXPECT_DOUBLE_EQ(RoundTo4(1e300), 1e300);
    EXPECT_TRUE(std::isinf(RoundTo4(INFINITY)));
    EXPECT_TRUE(std::isnan(RoundTo4(NAN)));
    EXPECT_EQ(TruncateToInt32(3e10), INT32_MAX);
    EXPECT_EQ(TruncateToInt32(-3e10), INT32_MIN);
    EXPECT_EQ(TruncateToInt32(1307117316.6), 1307117316);
}

}  // namespace
}  // namespace quillon
