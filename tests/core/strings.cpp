#include "core/strings.hpp"

#include <gtest/gtest.h>

#include <limits>

TEST(Strings, FloatText) {
    EXPECT_EQ(FloatToString(1.0), "1.0");
    EXPECT_EQ(FloatToString(0.5), "0.5");
    EXPECT_EQ(FloatToString(-2.0), "-2.0");
    EXPECT_EQ(FloatToString(1234567.5), "1234567.5");
    EXPECT_EQ(FloatToString(0.1f), "0.100000001");  // nine significant digits of the float
    EXPECT_EQ(FloatToString(1e10), "1.0e+10");
    EXPECT_EQ(FloatToString(123456789.0), "123456789.0");
}

TEST(Strings, IntParse) {
    EXPECT_EQ(StringToInt(""), 0);
    EXPECT_EQ(StringToInt("abc"), 0);
    EXPECT_EQ(StringToInt("42"), 42);
    EXPECT_EQ(StringToInt("  -17xyz"), -17);
    EXPECT_EQ(StringToInt("\t+8"), 8);
    EXPECT_EQ(StringToInt("%1011"), 11);
    EXPECT_EQ(StringToInt("%1021"), 2);
    EXPECT_EQ(StringToInt("$ff"), 255);
    EXPECT_EQ(StringToInt("-$10"), -16);
    EXPECT_EQ(StringToInt("$"), 0);
    EXPECT_EQ(StringToInt("12.9"), 12);
    EXPECT_EQ(StringToInt("4294967297"), 1);  // wraps like 32-bit arithmetic, no UB
    EXPECT_EQ(StringToInt("- 5"), 0);
    // The saturating reading agrees inside the int range and clamps outside it.
    EXPECT_EQ(StringToIntSaturating("  -17xyz"), -17);
    EXPECT_EQ(StringToIntSaturating("$ff"), 255);
    EXPECT_EQ(StringToIntSaturating("2147483647"), 2147483647);
    EXPECT_EQ(StringToIntSaturating("4294967297"), 2147483647);
    EXPECT_EQ(StringToIntSaturating("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StringToIntSaturating("-99999999999999999999"), -2147483647 - 1);
}

TEST(Strings, FloatParse) {
    EXPECT_FLOAT_EQ(StringToFloat("1.5"), 1.5f);
    EXPECT_FLOAT_EQ(StringToFloat("  -0.25abc"), -0.25f);
    EXPECT_FLOAT_EQ(StringToFloat(".5"), 0.5f);
    EXPECT_FLOAT_EQ(StringToFloat("3e2"), 300.0f);
    EXPECT_FLOAT_EQ(StringToFloat(""), 0.0f);
    EXPECT_FLOAT_EQ(StringToFloat("x1"), 0.0f);
    EXPECT_FLOAT_EQ(StringToFloat("nan"), 0.0f);
    EXPECT_FLOAT_EQ(StringToFloat("0x10"), 0.0f);
    EXPECT_EQ(StringToFloat("1e39"), std::numeric_limits<float>::infinity());
}

TEST(Strings, PlayTimeAndSignedNumbers) {
    EXPECT_EQ(PlayTimeText(3725), "01:02:05");
    EXPECT_EQ(PlayTimeText(360000), "100:00:00");
    EXPECT_EQ(PlayTimeText(-5), "00:00:00");  // a damaged save's time
    EXPECT_EQ(CharThenNumber('+', 12), "+12");
}
