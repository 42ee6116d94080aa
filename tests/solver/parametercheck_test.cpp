// The exposure time: what the closed form itself asks of it, and the bound the grid adds.

#include "parametercheck.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

TEST(ExposureTime, TheClosedFormTakesAnyFiniteTimeFromZeroAndTheGridBoundsItToItsAxis)
{
    constexpr int nodeCount = 101; // a time axis of 0 .. 100 Myr
    const struct {
        double exposureMyr;
        const char* closedForm; // the start of exposureTimeError's message, or "" for none
        bool onTheGrid;
    } cases[] = {
        { 0, "", true }, { 100, "", true },
        { 150, "", false }, // beyond the grid's axis, not beyond the half-space
        { 1e6, "", false },
        { -1, "-o exposure time must be a finite number of million years, 0 or more", false },
        { std::numeric_limits<double>::quiet_NaN(), "-o exposure time must be a finite", false },
        { 1e300, "-o exposure time is too large", false }, // infinite in seconds
    };
    for (const auto& c : cases) {
        erosion::RunParameters p;
        const auto closedForm = erosion::exposureTimeError(p, c.exposureMyr);
        EXPECT_EQ(closedForm.value_or("").rfind(c.closedForm, 0), 0u) << c.exposureMyr;
        EXPECT_EQ(closedForm.has_value(), *c.closedForm != '\0') << c.exposureMyr;
        p.historyTime = c.exposureMyr;
        const auto grid = erosion::checkHistoryTime(p, nodeCount);
        EXPECT_EQ(grid.has_value(), !c.onTheGrid) << c.exposureMyr;
        if (grid) {
            EXPECT_EQ(grid->rfind("-o temperature history time must be between 0 and 100 ", 0), 0u)
                << *grid;
        }
    }
}

} // namespace
