#include "decimal.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

using decimal::toDouble;
using decimal::toInt;

TEST(DecimalToDouble, ReadsTheLongestDecimalPrefix)
{
    EXPECT_DOUBLE_EQ(toDouble("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(toDouble("  \t\n-3.25e2xyz"), -325.0);
    EXPECT_DOUBLE_EQ(toDouble("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(toDouble("1312."), 1312.0);
    EXPECT_DOUBLE_EQ(toDouble("-5.000e+04"), -50000.0);
    EXPECT_DOUBLE_EQ(toDouble("7e"), 7.0);      // exponent letter without digits is not read
    EXPECT_DOUBLE_EQ(toDouble("7e+"), 7.0);
    EXPECT_DOUBLE_EQ(toDouble("7E-1x"), 0.7);
    EXPECT_DOUBLE_EQ(toDouble("2.5.3"), 2.5);
    EXPECT_DOUBLE_EQ(toDouble("1,5"), 1.0);     // a comma is never a decimal point
    EXPECT_EQ(toDouble("0.1"), 0.1);            // correctly rounded, like strtod
}

TEST(DecimalToDouble, TextWithoutANumberIsZero)
{
    for (const char* text : {"", " ", "-", "+", ".", "-.", "e5", "abc", "NaN", "nan", "-nan",
                             "inf", "-inf", "Infinity", "0x1p3"}) {
        SCOPED_TRACE(text);
        const double value = toDouble(text);
        EXPECT_EQ(value, 0.0);
        EXPECT_FALSE(std::isnan(value));
    }
    EXPECT_EQ(toDouble("0x10"), 0.0); // the 0 before the x is the whole number
}

TEST(DecimalToDouble, KeepsTheSignOfZero)
{
    EXPECT_TRUE(std::signbit(toDouble("-0")));
    EXPECT_TRUE(std::signbit(toDouble("-0.000")));
    EXPECT_FALSE(std::signbit(toDouble("0.000")));
}

TEST(DecimalToDouble, OutOfRangeValuesSaturateLikeStrtod)
{
    EXPECT_EQ(toDouble("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(toDouble("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(toDouble("1e-400"), 0.0);
    EXPECT_GT(toDouble("4e-320"), 0.0); // subnormal, not flushed
}

TEST(DecimalToDouble, IgnoresTheUserLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale on this machine";
    EXPECT_DOUBLE_EQ(toDouble("2.75"), 2.75);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(DecimalToInt, ReadsSignAndDigitsOnly)
{
    EXPECT_EQ(toInt("50000"), 50000);
    EXPECT_EQ(toInt("50000.5"), 50000);
    EXPECT_EQ(toInt("  -12.9"), -12);
    EXPECT_EQ(toInt("+7x"), 7);
    EXPECT_EQ(toInt("1e3"), 1);
    EXPECT_EQ(toInt("-20.7"), -20);
    for (const char* text : {"", "-", "abc", "NaN", ".5", "inf"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(toInt(text), 0);
    }
}

TEST(DecimalToInt, ClampsToTheRangeOfInt)
{
    EXPECT_EQ(toInt("2147483647"), INT_MAX);
    EXPECT_EQ(toInt("-2147483648"), INT_MIN);
    EXPECT_EQ(toInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(toInt("-99999999999999999999"), INT_MIN);
}
