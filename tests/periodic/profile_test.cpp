// The profile across which the periodic model is shown and dated, and its named sites.

#include "profile.h"

#include <gtest/gtest.h>

using namespace periodic;

TEST(PeriodicProfile, NamesRidgeMidSlopeAndValleyAddingThemWhereTheSpacingMissesThem)
{
    periodic::PeriodicParameters parameters;
    const auto model = PeriodicSteadyState::solve(toProblem(parameters));
    for (const int count : { 401, 400, 2 }) {
        parameters.pointCount = count;
        const auto points = periodic::profilePoints(model, parameters);
        const double lambda = parameters.wavelength;
        EXPECT_EQ(points.front().xM, -lambda);
        EXPECT_EQ(points.back().xM, lambda);
        int named = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (i > 0) {
                ASSERT_LT(points[i - 1].xM, points[i].xM) << count;
            }
            EXPECT_NEAR(points[i].elevationM, model.surfaceHeight(points[i].xM), 1e-9);
            if (points[i].site == "mid_slope") {
                EXPECT_EQ(points[i].elevationM, 0.0); // the mean level, not 6e-14 m
            }
            if (points[i].site.empty())
                continue;
            ++named;
            const double expectedX = points[i].site == "ridge" ? 0
                : points[i].site == "mid_slope"                ? lambda / 4
                                                               : lambda / 2;
            EXPECT_EQ(points[i].xM, expectedX) << points[i].site;
        }
        EXPECT_EQ(named, 3) << count;
        // 401 points hold all three sites; 400 miss all three; 2 hold only the two ends.
        EXPECT_EQ(points.size(), std::size_t(count == 401 ? 401 : count + 3)) << count;
    }
}
