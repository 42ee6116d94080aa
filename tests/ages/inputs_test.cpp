// What the program reads from the user: numbers, rate sweeps and path files.

#include "inputerror.h"
#include "pathfile.h"
#include "ratesweep.h"
#include "strictnumber.h"
#include "textlines.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(StrictNumber, TakesOnlyWholeFiniteDecimalWords)
{
    const struct {
        const char* word;
        std::optional<double> value;
    } cases[] = {
        { "0.5", 0.5 },
        { "-5", -5 },
        { "+2.5e3", 2500 },
        { ".5", 0.5 },
        { "5.", 5 },
        { "1E-3", 1e-3 },
        { "1km", std::nullopt },
        { "", std::nullopt },
        { " 1", std::nullopt },
        { "1 ", std::nullopt },
        { "nan", std::nullopt },
        { "inf", std::nullopt },
        { "0x10", std::nullopt },
        { ".", std::nullopt },
        { "1e", std::nullopt },
        { "1e+", std::nullopt },
        { "--1", std::nullopt },
        { "1e999", std::nullopt },
        { "1,5", std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(decimal::strictDouble(c.word), c.value) << "'" << c.word << "'";
}

TEST(RateSweep, IncludesStopDespiteRoundingAndNeverPassesIt)
{
    EXPECT_EQ(ages::parseRateSweep("0.1:0.3:0.1").rates().size(), 3u);
    EXPECT_EQ(ages::parseRateSweep("0.5:0.5:1").rates(), std::vector<double> { 0.5 });
    const auto rates = ages::parseRateSweep("0.05:2.04:0.01").rates();
    ASSERT_EQ(rates.size(), 200u);
    EXPECT_DOUBLE_EQ(rates.back(), 2.04);
    EXPECT_EQ(ages::parseRateSweep("1:1.95:0.5").rates(), (std::vector<double> { 1, 1.5 }));
}

TEST(RateSweep, RefusesMalformedAndEndlessSweeps)
{
    for (const char* text : { "1:2", "1:2:3:4", "a:2:1", "1:2:0", "1:2:-1", "2:1:1", "",
             "1e-6:1e9:1e-6", "1:1e308:1", "0:1:0.1", "-1:1:0.5" })
        EXPECT_THROW(ages::parseRateSweep(text), ages::InputError) << text;
}

ages::SamplePath readText(const std::string& text)
{
    std::istringstream in(text);
    return ages::readCoolingPath(in, "p.csv");
}

std::string refusalOf(const std::string& text)
{
    try {
        readText(text);
    } catch (const ages::InputError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(PathFile, ReadsCommasOrBlanksWithOrWithoutHeaderInEitherOrder)
{
    const thermochron::CoolingPath expected { { 10, 200 }, { 5, 100 }, { 0, 0 } };
    for (const char* text : {
             "time_ma,temperature_c\n10,200\n5,100\n0,0\n", "10 200\n5\t100\n\n0   0\n",
             "0, 0\r\n5 , 100\r\n10,200\r\n", // youngest first, CRLF
             "time temperature\n5 100\n10 200\n0 0", // no final line end
         }) {
        const ages::SamplePath sample = readText(text);
        ASSERT_EQ(sample.path.size(), expected.size()) << text;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(sample.path[k].timeMa, expected[k].timeMa) << text;
            EXPECT_EQ(sample.path[k].temperatureC, expected[k].temperatureC) << text;
        }
        EXPECT_TRUE(sample.depthM.empty());
    }
}

TEST(PathFile, RefusalsNameTheLine)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        { "10,200\n", "p.csv: a cooling path needs at least 2 points, found 1" },
        { "time,temp\n", "p.csv: a cooling path needs at least 2 points, found 0" },
        { "10,200\n5,abc\n", "p.csv line 2: 'abc' is not a number" },
        { "t,T\n10,200\n\n5km,100\n", "p.csv line 4: '5km' is not a number" },
        { "10,200\n5,100,3\n",
            "p.csv line 2: expected two numbers, time_ma and "
            "temperature_c, got '5,100,3'" },
        { "10,200\n5\n",
            "p.csv line 2: expected two numbers, time_ma and temperature_c, "
            "got '5'" },
        { "10,200\n5,100\n10.0,150\n", "p.csv line 3: time 10.0 Ma repeats line 1" },
        { "10,200\n-1,100\n",
            "p.csv line 2: time -1 Ma lies in the future (times are Ma "
            "before present, 0 or more)" },
        { "10,200\n0,-300\n", "p.csv line 2: temperature -300 C lies below absolute zero" },
        { "10,200\n1,nan\n", "p.csv line 2: 'nan' is not a number" },
        { "5000,200\n0,0\n", "p.csv line 1: time 5000 Ma is older than the Earth (4567 Ma)" },
        { "10,2500\n0,0\n",
            "p.csv line 1: temperature 2500 C lies above 2000 C, where "
            "every rock is molten" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusalOf(c.text), c.message) << c.text;
}

TEST(PathFile, ColumnsAreReadByTheHeadersNamesInAnyOrderAndCase)
{
    // Swapped columns, kelvin, the suite's own --path-output (an empty depth), a byte order
    // mark and CR-only line ends: each the path 10 Ma at 200 C to today at 0 C.
    for (const char* text : { "Temperature_C,TIME_MA\n200,10\n0,0\n",
             "time_ma,temperature_k\n10,473.15\n0,273.15\n",
             "time_ma,temperature_c,depth_m\n10,200,\n0,0,\n",
             "\xEF\xBB\xBFtime_ma,temperature_c\r10,200\r0,0\r" }) {
        const ages::SamplePath sample = readText(text);
        ASSERT_EQ(sample.path.size(), 2u) << text;
        EXPECT_EQ(sample.path[0].timeMa, 10) << text;
        EXPECT_NEAR(sample.path[0].temperatureC, 200, 1e-9) << text;
        EXPECT_NEAR(sample.path[1].temperatureC, 0, 1e-9) << text;
    }
}

TEST(PathFile, AMistypedOrUnreadableLineIsRefusedNotSkipped)
{
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        // The first line with a typo was once taken for a header, losing the oldest point.
        { "4O 150\n20 100\n0 0\n", "p.csv line 1: '4O' is not a number" },
        { "\xEF\xBB\xBF" "40 150\n4O 100\n", "p.csv line 2: '4O' is not a number" },
        { "10,200\r5,100\rx,1\r", "p.csv line 3: 'x' is not a number" },
        { std::string("10,200\n5,1\0" "0\n", 12), "p.csv line 2: '1\\x000' is not a number" },
        { "temperature_c,depth_m\n1,2\n",
            "p.csv line 1: the header has no column time_ma (found: temperature_c, depth_m)" },
        { "temp,time\n200,10\n",
            "p.csv line 1: the header's first column 'temp' reads as a temperature, but without "
            "the names time_ma and temperature_c the columns are read as time, then "
            "temperature: name them" },
        { std::string(textlines::longestLine + 1, '1'),
            "p.csv line 1 is longer than 65536 bytes: not a text table" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusalOf(c.text), c.message) << c.text.substr(0, 40);
}

TEST(PathFile, KelvinUnderACelsiusNameIsWarnedOf)
{
    std::vector<std::string> warnings;
    std::istringstream kelvin("time_ma,temperature_c\n10,473\n0,273\n");
    ages::readCoolingPath(kelvin, "p.csv", &warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].starts_with("warning: p.csv: every temperature lies above 250 C"));
    std::istringstream buried("time_ma,temperature_c\n10,473\n1,300\n"); // ends at depth
    warnings.clear();
    ages::readCoolingPath(buried, "p.csv", &warnings);
    EXPECT_TRUE(warnings.empty());
}

} // namespace
