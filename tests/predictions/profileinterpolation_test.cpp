// Samples placed on the ridge-to-valley half-profile by elevation, and their ages predicted there
// from one path per place.

#include "profileinterpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

TEST(ProfileInterpolation, EachElevationFindsItsPlaceBetweenTheTwoPointsAroundIt)
{
    // h(x) = 1000 cos(2 pi x / 20 km) at 2.5 km steps from ridge to valley.
    std::vector<double> xs, heights;
    for (int i = 0; i <= 4; ++i) {
        xs.push_back(2500.0 * i);
        heights.push_back(1000 * std::cos(2 * M_PI * xs.back() / 20000));
    }
    struct Case {
        double elevation;
        double x;
    };
    const double midway = 0.5 * (heights[1] + heights[2]);
    for (const Case c : { Case { 1000, 0 }, Case { heights[1], 2500 }, Case { midway, 3750 },
             Case { -1000, 10000 }, Case { 1000.000001, 0 }, Case { -1000.000001, 10000 } }) {
        EXPECT_NEAR(ages::halfProfilePositions(xs, heights, { c.elevation }).front(), c.x, 1e-9)
            << c.elevation;
    }
}

TEST(ProfileInterpolation, SamplesAtOnePlaceShareItsPathAndSamplesOfOneKindTheirAge)
{
    // The rock at x cools steadily from 200 C, faster the further from the ridge (10 + x / 100
    // C/Myr), so its Dodson AHe age falls with x.
    const auto pathAt = [](double x) {
        const double rate = 10 + x / 100;
        return thermochron::CoolingPath { { 200 / rate, 200 }, { 0, 0 } };
    };
    std::vector<ages::AgeKind> kinds(4);
    kinds[3].system = thermochron::System::ZFT;
    const ages::SamplePredictor predictor(kinds);

    std::map<double, int> pathsMade;
    const auto sampleAges
        = ages::sampleAgesAtPositions({ 1000, 5000, 1000, 1000 }, predictor, [&](double x) {
              ++pathsMade[x];
              return pathAt(x);
          });
    EXPECT_EQ(pathsMade, (std::map<double, int> { { 1000, 1 }, { 5000, 1 } }));
    EXPECT_DOUBLE_EQ(sampleAges[0].ageMa, predictor.predictKind(pathAt(1000), 0).ageMa);
    EXPECT_DOUBLE_EQ(sampleAges[2].ageMa, sampleAges[0].ageMa);
    EXPECT_LT(sampleAges[1].ageMa, sampleAges[0].ageMa); // faster cooling, younger
    EXPECT_GT(sampleAges[3].ageMa, sampleAges[0].ageMa); // zircon tracks close hotter than apatite
                                                         // helium
}

} // namespace
