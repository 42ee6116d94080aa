// The grid of rates x one other parameter on a misfit whose profiles are known exactly: a
// valley floor r = g(b) along which rate and other trade off perfectly,
//
//     chi2(r, b) = ((r - g(b)) / s)^2,    g increasing over the other's bounds [b1, b2]
//
// The least chi2 over b at each rate is 0 for g(b1) <= r <= g(b2) and grows outside, so the
// rate's range at chi2_min + 1 is g(b1) - s to g(b2) + s, and the other's range is the whole of
// its bounds. With s much smaller than g's change between grid values the valley is narrower
// than the grid: the parabola through the coarse values at one rate misses its floor, and the
// refinement towards each rate's least chi2 finds it.

#include "rategrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

double floorRate(double b)
{
    const double d = b - 1130;
    return 0.6 + 5e-4 * d + 5e-7 * d * d; // increasing from 800 to 1400
}

TEST(RateGrid, RefinedProfilesFindTheFloorOfAValleyNarrowerThanTheGrid)
{
    const struct {
        double s; // mm/yr
        int steps; // refinement steps at each rate
        bool exact; // the rate's range within 15 % of s (the rate step) of the exact one
    } cases[] = { { 0.005, 4, true }, { 0.005, 0, false } };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.steps);
        const auto chi2At = [&](double r, double b) {
            const double along = (r - floorRate(b)) / k.s;
            return along * along;
        };
        std::vector<double> rates;
        for (int i = 0; i <= 160; ++i)
            rates.push_back(0.2 + 0.005 * i);
        const std::vector<double> others = ages::evenlySpacedValues({ 800, 1400 }, 7);
        std::vector<double> chi2;
        for (const double b : others)
            for (const double r : rates)
                chi2.push_back(chi2At(r, b));
        std::vector<ages::RefinedPoint> refined;
        for (int step = 0; step < k.steps; ++step) {
            std::vector<ages::RefinedPoint> found;
            for (std::size_t i = 0; i < rates.size(); ++i)
                if (const double b = ages::nextOther(others, chi2, i, rates.size(), refined);
                    !std::isnan(b))
                    found.push_back({ i, b, chi2At(rates[i], b) });
            refined.insert(refined.end(), found.begin(), found.end());
        }
        const ages::RateGridFit fit = ages::fitRateGrid(rates, others, chi2, 100, refined);
        const double low = floorRate(800) - k.s, high = floorRate(1400) + k.s;
        const bool close = std::abs(fit.rateFit.rangeLow - low) < 0.15 * k.s
            && std::abs(fit.rateFit.rangeHigh - high) < 0.15 * k.s;
        EXPECT_EQ(close, k.exact) << fit.rateFit.rangeLow << " to " << fit.rateFit.rangeHigh
                                  << ", exactly " << low << " to " << high;
        if (k.exact) {
            EXPECT_EQ(fit.rateFit.minimumCount, 1);
            EXPECT_TRUE(fit.otherFit.rangeReachesLowEnd && fit.otherFit.rangeReachesHighEnd);
            EXPECT_NEAR(fit.rateFit.rangeLevel, 1.0, 1e-3);
        }
    }
}

// On a sweep of few rates the grid's least chi2 over the rates at a value of the other misses
// the valley's floor, which lies between two rates; the refinement finds, at each rate, the
// other where the floor crosses it. The best point is such a refined one, and the other's range
// must hold it (and every refined point within the level).
TEST(RateGrid, TheOthersRangeHoldsTheRefinedPointsWithinTheLevel)
{
    // A floor narrower than the rates' spacing, its walls levelled off at 50 (so that no parabola
    // through the coarse rates sees it), closed along the other by a bowl of width 150.
    const double s = 0.005, w = 150;
    const auto chi2At = [&](double r, double b) {
        const double along = (r - floorRate(b)) / s, across = (b - 1130) / w;
        return std::min(along * along, 50.0) + across * across;
    };
    const std::vector<double> rates { 0.4, 0.5, 0.6, 0.7, 0.8 };
    const std::vector<double> others = ages::evenlySpacedValues({ 800, 1400 }, 7);
    std::vector<double> chi2;
    for (const double b : others)
        for (const double r : rates)
            chi2.push_back(chi2At(r, b));
    std::vector<ages::RefinedPoint> refined;
    for (int step = 0; step < 4; ++step) {
        std::vector<ages::RefinedPoint> found;
        for (std::size_t i = 0; i < rates.size(); ++i)
            if (const double b = ages::nextOther(others, chi2, i, rates.size(), refined);
                !std::isnan(b))
                found.push_back({ i, b, chi2At(rates[i], b) });
        refined.insert(refined.end(), found.begin(), found.end());
    }
    const ages::RateGridFit fit = ages::fitRateGrid(rates, others, chi2, 100, refined);
    EXPECT_LE(fit.otherFit.rangeLow, fit.bestOther);
    EXPECT_GE(fit.otherFit.rangeHigh, fit.bestOther);
    for (const ages::RefinedPoint& point : refined) {
        if (point.chi2 <= fit.level.level) {
            EXPECT_LE(fit.otherFit.rangeLow, point.other);
            EXPECT_GE(fit.otherFit.rangeHigh, point.other);
        }
    }
}

} // namespace
