// The locale-free fixed formatting used where std::to_chars has no floating point (the
// WebAssembly build) must write exactly what std::to_chars writes.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>

#include "scoring/fixed_format.hpp"

namespace quillon {
namespace {

std::string Standard(double value, int precision) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    return std::string(buffer, result.ptr);
}

TEST(FixedFormat, EdgeValues) {
    const double values[] = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 0.0625, 0.00005, -0.0000004, 1e-308,
                             4.9e-324, 1e308, std::numeric_limits<double>::max(), 1307117.3166, 69.6798,
                             82.1178, 0.28333333, 9007199254740993.0, 4503599627370496.5, 123456789.987654321};
    for (const double value : values) {
        for (int precision = 0; precision <= 9; ++precision) {
            EXPECT_EQ(ExactFixed(value, precision), Standard(value, precision)) << value << " " << precision;
        }
    }
    EXPECT_EQ(ExactFixed(INFINITY, 6), "inf");
    EXPECT_EQ(ExactFixed(-INFINITY, 6), "-inf");
    EXPECT_EQ(ExactFixed(NAN, 6), "nan");
}

TEST(FixedFormat, RandomBitPatternsAndScoresMatchTheStandardLibrary) {
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        double value;
        if (i % 2 == 0) {
            value = std::bit_cast<double>(random());
            if (!std::isfinite(value)) continue;
        } else {
            value = static_cast<double>(static_cast<std::int64_t>(random() % 4000000) - 2000000) / 20000.0;
        }
        const int precision = static_cast<int>(random() % 8);
        ASSERT_EQ(ExactFixed(value, precision), Standard(value, precision)) << value << " " << precision;
    }
}

}  // namespace
}  // namespace quillon
