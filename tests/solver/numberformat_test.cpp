#include "numberformat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

using erosion::formatNumber;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double quietNan = std::numeric_limits<double>::quiet_NaN();

// What formatNumber must write: the C library's "%#.4g" text, except in the one band where glibc
// is wrong. A magnitude in [9999.5, 10000) rounds to 1.000e+04; glibc drops the alternate form's
// trailing zeros there and writes "1.e+04". Writes a NUL-terminated text into buffer.
void writeExpected(double x, char (&buffer)[32])
{
    const double magnitude = std::fabs(x);
    if (magnitude >= 9999.5 && magnitude < 10000.0)
        std::snprintf(buffer, sizeof buffer, "%s", std::signbit(x) ? "-1.000e+04" : "1.000e+04");
    else
        std::snprintf(buffer, sizeof buffer, "%#.4g", x);
}

// Runs many values through formatNumber and keeps the first few disagreements for the message.
class Comparison {
public:
    void check(double x)
    {
        char written[erosion::maxNumberLength + 1];
        *formatNumber(x, written) = '\0';
        char expected[32];
        writeExpected(x, expected);
        ++m_count;
        if (std::strcmp(written, expected) == 0)
            return;
        ++m_mismatches;
        if (m_failures.size() < 10) {
            char line[128];
            std::snprintf(
                line, sizeof line, "%a: wrote \"%s\", expected \"%s\"", x, written, expected);
            m_failures.emplace_back(line);
        }
    }

    // x and its neighbours, one representable step to each side.
    void checkAround(double x)
    {
        check(std::nextafter(x, -inf));
        check(x);
        check(std::nextafter(x, inf));
    }

    ::testing::AssertionResult allAgree() const
    {
        if (m_mismatches == 0)
            return ::testing::AssertionSuccess() << m_count << " values";
        auto failure = ::testing::AssertionFailure()
            << m_mismatches << " of " << m_count << " values differ, first ones:";
        for (const std::string& line : m_failures)
            failure << "\n  " << line;
        return failure;
    }

    long count() const { return m_count; }

private:
    long m_count = 0;
    long m_mismatches = 0;
    std::vector<std::string> m_failures;
};

// The double nearest to digits x 10^exponent.
double nearestDouble(long digits, int exponent)
{
    char text[48];
    std::snprintf(text, sizeof text, "%lde%d", digits, exponent);
    return std::strtod(text, nullptr);
}

// Around the double nearest to N.5 x 10^(e-3), where rounding to 4 digits turns over. The sign
// is written apart from the digits, so one sign per boundary is enough: negative for odd N.
void checkAroundBoundary(Comparison& comparison, long n, int e)
{
    const double boundary = nearestDouble(10 * n + 5, e - 4);
    comparison.checkAround(n % 2 == 0 ? boundary : -boundary);
}

} // namespace

TEST(NumberFormat, WritesTheFilesExamplesAndSpecialValues)
{
    EXPECT_EQ(formatNumber(0.0), "0.000");
    EXPECT_EQ(formatNumber(-0.0), "-0.000");
    EXPECT_EQ(formatNumber(10.0), "10.00");
    EXPECT_EQ(formatNumber(12.5), "12.50");
    EXPECT_EQ(formatNumber(100.0), "100.0");
    EXPECT_EQ(formatNumber(1250.0), "1250.");
    EXPECT_EQ(formatNumber(-500.0), "-500.0");
    EXPECT_EQ(formatNumber(-2400.0), "-2400.");
    EXPECT_EQ(formatNumber(-50000.0), "-5.000e+04");
    EXPECT_EQ(formatNumber(15.0512), "15.05");
    EXPECT_EQ(formatNumber(0.000123456), "0.0001235");
    EXPECT_EQ(formatNumber(quietNan), "nan");
    EXPECT_EQ(formatNumber(-quietNan), "-nan");
    EXPECT_EQ(formatNumber(inf), "inf");
    EXPECT_EQ(formatNumber(-inf), "-inf");
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::max()), "1.798e+308");
    EXPECT_EQ(formatNumber(-std::numeric_limits<double>::denorm_min()), "-4.941e-324");

    char text[erosion::maxNumberLength];
    EXPECT_EQ(std::string(text, erosion::formatNumberPlain(-2400.0, text)), "-2400.");
}

TEST(NumberFormat, SwitchesNotationByTheExponentOfTheRoundedValue)
{
    EXPECT_EQ(formatNumber(9.9995), "9.999"); // the double lies below the boundary
    EXPECT_EQ(formatNumber(9.99951), "10.00");
    EXPECT_EQ(formatNumber(999.95), "1000.");
    EXPECT_EQ(formatNumber(9999.4999), "9999.");
    EXPECT_EQ(formatNumber(0.00009999), "9.999e-05");
    EXPECT_EQ(formatNumber(0.000099996), "0.0001000");
    EXPECT_EQ(formatNumber(99999.0), "1.000e+05");
}

TEST(NumberFormat, CarryIntoExponentNotationKeepsTheTrailingZeros)
{
    EXPECT_EQ(formatNumber(9999.5), "1.000e+04");
    EXPECT_EQ(formatNumber(-9999.7), "-1.000e+04");
    EXPECT_EQ(formatNumber(std::nextafter(10000.0, 0.0)), "1.000e+04");
    EXPECT_EQ(formatNumber(std::nextafter(9999.5, 0.0)), "9999.");
}

TEST(NumberFormat, BreaksExactTiesToTheEvenDigit)
{
    EXPECT_EQ(formatNumber(1234.5), "1234.");
    EXPECT_EQ(formatNumber(1235.5), "1236.");
    EXPECT_EQ(formatNumber(12345.0), "1.234e+04");
    EXPECT_EQ(formatNumber(1.0625), "1.062");
    EXPECT_EQ(formatNumber(0.0078125), "0.007812");
    EXPECT_EQ(formatNumber(-123.25), "-123.2");

    // Every double that lies exactly half-way between two 4-digit decimals:
    // (N + 1/2) x 10^(e-3) = (2N + 1) x 5^(e-3) x 2^(e-4) for N = 1000 .. 9999. Below e = 3 it is
    // a binary fraction only when 5^(3-e) divides 2N + 1; above, while (2N + 1) x 5^(e-3) fits
    // the 53-bit significand.
    Comparison comparison;
    for (int e = -20; e <= 40; ++e) {
        for (std::int64_t n = 1000; n <= 9999; ++n) {
            std::int64_t odd = 2 * n + 1;
            for (int k = e; k < 3; ++k) {
                if (odd % 5 != 0) {
                    odd = 0;
                    break;
                }
                odd /= 5;
            }
            for (int k = 3; k < e && odd != 0; ++k)
                odd = odd <= (std::int64_t { 1 } << 53) / 5 ? odd * 5 : 0;
            if (odd == 0 || odd >= (std::int64_t { 1 } << 53))
                continue;
            const double tie = std::ldexp(static_cast<double>(odd), e - 4);
            comparison.check(tie);
            comparison.check(-tie);
        }
    }
    EXPECT_GT(comparison.count(), 100000);
    EXPECT_TRUE(comparison.allAgree());
}

TEST(NumberFormat, AgreesWithPrintfAroundEveryRoundingBoundary)
{
    // The doubles nearest to N.5 x 10^(e-3), where rounding to 4 digits turns over, and to 10^e.
    // Every 4-digit N in the exponents around the fast routine's range, a sample elsewhere.
    Comparison comparison;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> anyDigits(1000, 9999);
    for (int e = -324; e <= 308; ++e) {
        const double powerOfTen = nearestDouble(1, e);
        comparison.checkAround(powerOfTen);
        comparison.checkAround(-powerOfTen);
        if (e >= -22 && e <= 28) {
            for (long n = 1000; n <= 9999; ++n)
                checkAroundBoundary(comparison, n, e);
        } else {
            for (const long n : { 1000L, 1001L, 4999L, 5000L, 9998L, 9999L })
                checkAroundBoundary(comparison, n, e);
            for (int i = 0; i < 8; ++i)
                checkAroundBoundary(comparison, anyDigits(random), e);
        }
    }
    EXPECT_TRUE(comparison.allAgree());
}

TEST(NumberFormat, AgreesWithPrintfOverRandomDoubles)
{
    Comparison comparison;
    std::mt19937_64 random(7);

    // Uniform bit patterns: every exponent, subnormals and NaN payloads of both signs.
    for (int i = 0; i < 500000; ++i)
        comparison.check(std::bit_cast<double>(random()));

    // Subnormals and the edges of the normal range.
    std::uniform_int_distribution<std::uint64_t> subnormalBits(1, (std::uint64_t { 1 } << 52) - 1);
    for (int i = 0; i < 100000; ++i)
        comparison.check(std::bit_cast<double>(subnormalBits(random)));
    for (const double edge : { std::numeric_limits<double>::denorm_min(),
             std::numeric_limits<double>::min(), std::numeric_limits<double>::max() })
        comparison.checkAround(edge);

    // Log-uniform magnitudes over the range the solver's files hold, and beyond.
    std::uniform_real_distribution<double> decades(-25.0, 30.0);
    for (int i = 0; i < 500000; ++i) {
        const double x = std::pow(10.0, decades(random));
        comparison.check(i % 2 == 0 ? x : -x);
    }

    // Values like the solver's: temperatures up to a few thousand degrees, node coordinates
    // that are multiples of an odd spacing, whole million years.
    std::uniform_real_distribution<double> temperature(-10.0, 3000.0);
    for (int i = 0; i < 500000; ++i)
        comparison.check(temperature(random));
    for (int k = 0; k < 100000; ++k)
        comparison.check(-50000.0 + k * 0.37);
    EXPECT_TRUE(comparison.allAgree());
}
