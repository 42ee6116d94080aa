// The parameter tables' ranges: which values they hold, and the refusal and help words made from
// them, which every option and keyword of a table shows.

#include "parametertable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using parameters::Description;
using parameters::Range;

namespace {

struct Depth {
    double metres = 50000;
};

const parameters::Parameter<Depth> depth { { "-z", "base_depth_m", "base depth", "m",
                                               Range { .lowest = 0, .lowestIncluded = false, .highest = 1e6 },
                                               "depth of the base" },
    &Depth::metres };

} // namespace

TEST(ParameterTable, RangesHoldTheirValuesAndNoOthers)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        bool held;
    } cases[] = { { 1, true }, { 1e6, true }, { 0, false }, { -1, false }, { 1e6 + 1, false },
        { nan, false }, { INFINITY, false } };
    for (const auto& c : cases)
        EXPECT_EQ(depth.text.range.holds(c.value), c.held) << c.value;
    EXPECT_TRUE(Range {}.holds(-1e300));
    EXPECT_FALSE(Range {}.holds(nan));
}

TEST(ParameterTable, RefusalsAndHelpNameTheOptionTheValueAndTheRange)
{
    EXPECT_EQ(parameters::rangeError(depth.text, 0).value(),
        "base depth (-z 0 m) must be a finite number above 0 m and at most 1e+06 m");
    EXPECT_FALSE(parameters::rangeError(depth.text, 10));
    // A bound another option sets, named.
    EXPECT_EQ(parameters::rangeError(depth.text, 5, Range { .lowest = 10 }, "the top (-t)").value(),
        "base depth (-z 5 m) must be a finite number of at least the top (-t), 10 m");
    EXPECT_EQ(parameters::helpWithRange(depth.text), "depth of the base, above 0, at most 1e+06 m");
    const Description radius { "--r", "r_um", "radius", "um", Range { .lowest = 25, .highest = 500 },
        "grain radius" };
    EXPECT_EQ(parameters::helpWithRange(radius, " (AHe)"), "grain radius (AHe), 25 to 500 um");
    EXPECT_EQ(parameters::rangeHelp({ "-a", "", "a", "", Range {}, "free" }), "");
}

TEST(ParameterTable, TheDefaultIsTheOwnersInitialiser)
{
    EXPECT_EQ(depth.defaultValue(), 50000);
    Depth d;
    depth.of(d) = 7;
    EXPECT_EQ(d.metres, 7);
}
