#include "decimal.h"
#include "strictnumber.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

using decimal::strictDouble;
using decimal::strictInt;

// Every whole decimal word is read exactly as the lenient rule reads it.
TEST(StrictDouble, AWholeDecimalWordHasItsLenientValue)
{
    for (const char* word : { "0", "12.5", "-3.25e2", "+.5", "1312.", "-5.000e+04", "7E-1", "0.1",
             "1e-400", "000123", "-0" }) {
        SCOPED_TRACE(word);
        const auto value = strictDouble(word);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, decimal::toDouble(word));
        EXPECT_EQ(std::signbit(*value), std::signbit(decimal::toDouble(word)));
    }
}

// The words the lenient rule would silently turn into some other number.
TEST(StrictDouble, AnyOtherWordIsNoNumber)
{
    for (const char* word : { "", " ", "1km", "1,5", "abc", "10 ", " 10", "2.5.3", "7e", "7e+",
             "e5", ".", "-", "+-1", "--1", "nan", "NaN", "inf", "-inf", "Infinity", "0x10", "0x1p3",
             "1e400", "-1e400", "1_000" }) {
        SCOPED_TRACE(std::string("'") + word + "'");
        EXPECT_FALSE(strictDouble(word).has_value());
    }
}

TEST(StrictInt, ReadsSignAndDigitsOnly)
{
    EXPECT_EQ(strictInt("401"), 401);
    EXPECT_EQ(strictInt("+7"), 7);
    EXPECT_EQ(strictInt("-20"), -20);
    EXPECT_EQ(strictInt("99999999999999999999"), INT_MAX); // then refused by a range check
    EXPECT_EQ(strictInt("-99999999999999999999"), INT_MIN);
    for (const char* word : { "", "-", "+", "10.5", "10.", "1e3", "1E3", "0x10", "ten", "10 ",
             " 10", "nan", "1,000" }) {
        SCOPED_TRACE(std::string("'") + word + "'");
        EXPECT_FALSE(strictInt(word).has_value());
    }
}
