// The rate fit: the refined minimum and the range against curves whose answers are known, the
// warnings, the summary line and the parallel sweep.

#include "ratefit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

using ages::fitMisfitCurve;

std::vector<double> sweep(double start, double stop, double step)
{
    std::vector<double> rates;
    for (int i = 0; start + i * step <= stop + 1e-9; ++i) {
        rates.push_back(start + i * step);
    }
    return rates;
}

template <class Curve> std::vector<double> sampled(const std::vector<double>& rates, Curve curve)
{
    std::vector<double> values;
    for (const double rate : rates) {
        values.push_back(curve(rate));
    }
    return values;
}

TEST(RateFit, AParabolicMisfitIsRefinedExactlyWhereverItsMinimumFalls)
{
    // chi2 = ((r - best) / s)^2 + floor: the range is best +- s. With s below the step the range
    // lies within the refining parabola; with s over many steps it is found on straight lines.
    struct Case {
        double best, s, step;
        double rangeTolerance;
    };
    for (const Case c : { Case { 0.731, 0.029, 0.05, 1e-9 }, Case { 0.7432, 0.2, 0.01, 1e-3 } }) {
        const auto rates = sweep(0.1, 2.0, c.step);
        const auto chi2
            = sampled(rates, [&](double r) { return std::pow((r - c.best) / c.s, 2) + 9; });
        const auto fit = fitMisfitCurve(rates, chi2, 10);
        EXPECT_NEAR(fit.bestRate, c.best, 1e-9);
        EXPECT_NEAR(fit.chi2Min, 9, 1e-9);
        EXPECT_NEAR(fit.reducedChi2, 1, 1e-9); // 9 / (10 - 1)
        EXPECT_NEAR(fit.rangeLow, c.best - c.s, c.rangeTolerance);
        EXPECT_NEAR(fit.rangeHigh, c.best + c.s, c.rangeTolerance);
        EXPECT_FALSE(fit.rangeReachesLowEnd || fit.rangeReachesHighEnd);
        EXPECT_EQ(fit.minimumCount, 1);
        EXPECT_EQ(ages::fitWarnings(fit), "");
    }
}

TEST(RateFit, WarnsWhenTheRangeReachesAnEndOrTheMisfitHasTwoMinima)
{
    const auto rates = sweep(0.1, 1.0, 0.05);
    // Still falling at the top of the sweep: the best rate is the last one, the range open above.
    // chi2_min 8 of 9 samples: reduced chi2 1, the range one unit of chi2 wide.
    const auto falling
        = fitMisfitCurve(rates, sampled(rates, [](double r) { return 40 * (1.2 - r); }), 9);
    EXPECT_DOUBLE_EQ(falling.bestRate, rates.back());
    EXPECT_TRUE(falling.rangeReachesHighEnd);
    EXPECT_FALSE(falling.rangeReachesLowEnd);
    EXPECT_NEAR(falling.rangeLow, rates.back() - 1.0 / 40, 1e-9);
    EXPECT_NE(ages::fitWarnings(falling).find("highest rate of the sweep"), std::string::npos);
    EXPECT_EQ(ages::fitWarnings(falling, false), ""); // a cause --rates cannot mend is known

    // Two wells 10 units deep, at 0.5 and 1.0; a ripple of 0.3 on them makes no further minimum.
    // (An end of the sweep where the curve rises away from it would count as a minimum too.)
    const auto twoWells
        = [](double r) { return 5 - 5 * std::cos(4 * M_PI * r) + 0.15 * std::sin(40 * M_PI * r); };
    const auto wellRates = sweep(0.3, 1.2, 0.01);
    const auto fit = fitMisfitCurve(wellRates, sampled(wellRates, twoWells), 5);
    EXPECT_EQ(fit.minimumCount, 2);
    EXPECT_NE(ages::fitWarnings(fit).find("2 separate minima"), std::string::npos);
}

TEST(RateFit, TheRangeWidensWithTheReducedChi2)
{
    // chi2 = ((r - 0.7) / 0.02)^2 + floor over 10 samples: reduced chi2 floor / 9. Up to 1 the
    // range is 0.7 +- 0.02; above, chi2 <= chi2_min + reduced chi2 gives 0.7 +- 0.02 sqrt(reduced).
    const auto rates = sweep(0.5, 0.9, 0.005);
    for (const double floor : { 4.5, 9.0, 36.0, 315.0 }) {
        SCOPED_TRACE(floor);
        const auto chi2
            = sampled(rates, [&](double r) { return std::pow((r - 0.7) / 0.02, 2) + floor; });
        const auto fit = fitMisfitCurve(rates, chi2, 10);
        const double reduced = floor / 9;
        const double halfWidth = 0.02 * std::sqrt(std::max(1.0, reduced));
        // Straight lines between grid points away from the minimum: within 2e-4 of the crossing.
        EXPECT_NEAR(fit.rangeLow, 0.7 - halfWidth, 2e-4);
        EXPECT_NEAR(fit.rangeHigh, 0.7 + halfWidth, 2e-4);
        EXPECT_EQ(fit.rangeScaled, reduced > 1);
        EXPECT_NEAR(fit.rangeLevel, floor + std::max(1.0, reduced), 1e-9);
        // The level as a misfit file holds it gives the same range.
        const auto atLevel = ages::fitMisfitCurveAtLevel(rates, chi2, fit.rangeLevel);
        EXPECT_DOUBLE_EQ(atLevel.rangeLow, fit.rangeLow);
        EXPECT_DOUBLE_EQ(atLevel.rangeHigh, fit.rangeHigh);
        EXPECT_EQ(atLevel.rangeScaled, fit.rangeScaled);
    }
}

TEST(RateFit, SummaryLineShowsTheRangeWithEnoughDigitsAndSaysWhenItIsScaled)
{
    struct Case {
        double best, low, high, reduced;
        bool scaled;
        const char* label;
        std::string line;
    };
    const std::vector<Case> cases {
        { 0.73149, 0.7021, 0.76, 0.8351, false, "",
            "best rate: 0.731 mm/yr, range 0.702 to 0.760, reduced chi2 0.84" },
        // A width of 0.00033 mm/yr shows two digits of itself: five decimals.
        { 0.068301, 0.068142, 0.068473, 35.117, true, "",
            "best rate: 0.06830 mm/yr, range 0.06814 to 0.06847 (scaled by reduced chi2), "
            "reduced chi2 35.12" },
        { 1.2, 0.95, 1.31, 2, true, "AFT",
            "best rate (AFT): 1.200 mm/yr, range 0.950 to 1.310 (scaled by reduced chi2), "
            "reduced chi2 2.00" },
    };
    for (const Case& c : cases) {
        ages::RateFit fit;
        fit.bestRate = c.best;
        fit.rangeLow = c.low;
        fit.rangeHigh = c.high;
        fit.reducedChi2 = c.reduced;
        fit.rangeScaled = c.scaled;
        EXPECT_EQ(ages::fitSummary(fit, c.label), c.line);
    }
}

TEST(RateFit, SweepOnAllCoresFindsTheRateThatMadeNoiseFreeAges)
{
    // Ages of a constant-rate exhumation through closure depths d_i: t = d_i / r (km, mm/yr, Ma).
    const std::vector<double> closureDepthsKm { 1.5, 2.5, 4.0, 7.0, 9.0 };
    const double trueRate = 0.613;
    std::vector<ages::MeasuredAge> samples;
    for (const double depth : closureDepthsKm) {
        samples.push_back({ depth / trueRate, 0.07 * depth / trueRate });
    }
    const auto predict = [&](double rate) {
        std::vector<double> ages;
        for (const double depth : closureDepthsKm) {
            ages.push_back(depth / rate);
        }
        return ages;
    };
    const auto rates = sweep(0.1, 2.0, 0.01);
    std::vector<double> reported;
    const auto fit = ages::fitRate(
        rates, samples, predict, [&](double fraction) { reported.push_back(fraction); });
    ASSERT_EQ(fit.chi2.size(), rates.size());
    ASSERT_EQ(reported.size(), rates.size());
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    EXPECT_DOUBLE_EQ(reported.back(), 1);
    for (std::size_t i = 0; i < rates.size(); i += 37) {
        EXPECT_DOUBLE_EQ(fit.chi2[i], ages::chiSquare(samples, predict(rates[i])));
    }
    EXPECT_NEAR(fit.bestRate, trueRate, 0.01);
    EXPECT_NEAR(fit.chi2Min, 0, 1e-3);
    EXPECT_LT(fit.rangeLow, trueRate);
    EXPECT_GT(fit.rangeHigh, trueRate);

    const auto failing = [](double rate) -> std::vector<double> {
        if (rate > 1) {
            throw std::runtime_error("model failed");
        }
        return { 1, 1, 1, 1, 1 };
    };
    EXPECT_THROW(ages::fitRate(rates, samples, failing), std::runtime_error);
}

} // namespace
