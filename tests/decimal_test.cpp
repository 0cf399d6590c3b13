#include "scoring/decimal.hpp"
#include <gtest/gtest.h>
TEST(Decimal, Placeholder) { EXPECT_TRUE(quillon::ReadDecimal("1").has_value()); }
