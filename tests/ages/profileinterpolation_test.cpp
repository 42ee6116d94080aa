// Samples placed on the ridge-to-valley half-profile by elevation, and their ages read off the
// age-elevation relationship from only the profile points they need.

#include "profileinterpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using ages::halfProfileBrackets;

TEST(ProfileInterpolation, EachElevationFallsBetweenTheTwoPointsAroundIt)
{
    const std::vector<double> profile { 1000, 800, 300, -400, -1000 }; // ridge to valley
    struct Case {
        double elevation;
        std::size_t upper;
        double lowerWeight;
    };
    for (const Case c :
        { Case { 1000, 0, 0 }, Case { 900, 0, 0.5 }, Case { 300, 1, 1 }, Case { -50, 2, 0.5 },
            Case { -1000, 3, 1 }, Case { 1000.000001, 0, 0 }, Case { -1000.000001, 3, 1 } }) {
        const auto bracket = halfProfileBrackets(profile, { c.elevation }).front();
        EXPECT_EQ(bracket.upper, c.upper) << c.elevation;
        EXPECT_DOUBLE_EQ(bracket.lowerWeight, c.lowerWeight) << c.elevation;
    }
}

TEST(ProfileInterpolation, AgesComeFromTheNeededPointsOnlyAndMatchThemAtThePoints)
{
    // The rock under point i cools steadily from 200 C, faster the higher i (rate 10 (i + 1)
    // C/Myr), so its Dodson AHe age falls with i.
    const auto pathAt = [](std::size_t point) {
        const double rate = 10.0 * static_cast<double>(point + 1);
        return thermochron::CoolingPath { { 200 / rate, 200 }, { 0, 0 } };
    };
    const std::vector<double> profile { 1000, 500, 0, -500, -1000 };
    const ages::SamplePredictor predictor(std::vector<ages::AgeKind>(3));
    const auto brackets = halfProfileBrackets(profile, { 500, 250, 500 });

    std::set<std::size_t> asked;
    const auto ages = ages::interpolatedSampleAges(brackets, predictor, [&](std::size_t point) {
        EXPECT_TRUE(asked.insert(point).second) << "path made twice for point " << point;
        return pathAt(point);
    });
    EXPECT_EQ(asked, (std::set<std::size_t> { 1, 2 }));
    const double atPoint1 = predictor.predictKind(pathAt(1), 0).ageMa;
    const double atPoint2 = predictor.predictKind(pathAt(2), 0).ageMa;
    EXPECT_DOUBLE_EQ(ages[0], atPoint1);
    EXPECT_DOUBLE_EQ(ages[2], atPoint1);
    EXPECT_NEAR(ages[1], 0.5 * (atPoint1 + atPoint2), 1e-12);
    EXPECT_GT(atPoint1, atPoint2);
}

} // namespace
