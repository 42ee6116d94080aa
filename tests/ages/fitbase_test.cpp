// The history fits with one more parameter beside the history (the base of the geotherm), on
// misfits whose profiles are known in closed form: a valley in which rate and base trade off, so
// that the rate's range over every base is wider than at the best base alone; the warning that
// says so; the base as a dimension of the two-phase grid and of the sampler; the tables' columns.

#include "historyfiles.h"
#include "historyfit.h"
#include "historyplacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

using ages::ErosionHistory;
using ages::HistoryFit;
using ages::HistorySpace;

// chi2 = ((r - r0 - c (b - b0)) / s)^2 + ((b - b0) / t)^2. Minimised over b at each r it is
// (r - r0)^2 / (s^2 + c^2 t^2); over r at each b, ((b - b0) / t)^2; at b = b0 alone,
// ((r - r0) / s)^2. The ranges at chi2_min + 1 are r0 +- sqrt(s^2 + c^2 t^2), b0 +- t and r0 +- s.
struct Valley {
    double r0, b0, s, c, t;

    double operator()(const ErosionHistory& history, double base) const
    {
        const double along = (history[0].rateMmYr - r0 - c * (base - b0)) / s;
        const double across = (base - b0) / t;
        return along * along + across * across;
    }
};

HistorySpace onePhaseWithBase()
{
    HistorySpace space { 1, 30, { 0.05, 2.0 }, {}, 20 };
    space.other = ages::ValueBounds { 800, 1600 }; // 1200 is a value of the grid of 7
    space.otherColumn = "base_temperature_c";
    return space;
}

TEST(FitBase, OnePhaseProfilesTheRateOverTheBaseAndTheBaseOverTheRate)
{
    const struct {
        double c;
        bool warned;
    } cases[] = { { 0.001, true }, { 0.0, false } };
    for (const auto& k : cases) {
        const Valley valley { 0.4, 1200, 0.03, k.c, 60 };
        ages::HistoryFitSettings settings;
        settings.rateCount = 300;
        const HistoryFit fit = ages::fitHistory(onePhaseWithBase(), valley, settings);
        EXPECT_EQ(fit.evaluations(), 300u * 7u);
        ASSERT_TRUE(fit.rateFit && fit.otherFit && fit.rateFitAtBestOther);
        const double wide = std::sqrt(valley.s * valley.s + k.c * k.c * valley.t * valley.t);
        EXPECT_NEAR(fit.best[0], 0.4, 2e-3);
        EXPECT_NEAR(fit.best[1], 1200, 5);
        EXPECT_NEAR(fit.rateFit->rangeLow, 0.4 - wide, 0.03 * wide);
        EXPECT_NEAR(fit.rateFit->rangeHigh, 0.4 + wide, 0.03 * wide);
        EXPECT_NEAR(fit.rateFitAtBestOther->rangeLow, 0.4 - valley.s, 0.03 * valley.s);
        EXPECT_NEAR(fit.rateFitAtBestOther->rangeHigh, 0.4 + valley.s, 0.03 * valley.s);
        EXPECT_NEAR(fit.otherFit->rangeLow, 1200 - valley.t, 3);
        EXPECT_NEAR(fit.otherFit->rangeHigh, 1200 + valley.t, 3);

        ages::HistoryRequest request;
        request.fitBase = fit.space.other;
        const std::string warnings = ages::fittedBaseWarnings(fit, request);
        EXPECT_EQ(
            warnings.find("the ages constrain rate and geotherm together") != std::string::npos,
            k.warned)
            << warnings;
        EXPECT_NE(ages::fittedBaseSummary(fit, request)
                      .find(", range 1140 to 1260 C (fitted with the erosion)"),
            std::string::npos)
            << ages::fittedBaseSummary(fit, request);
    }
}

TEST(FitBase, TheMisfitMapHasARowPerRateAndBaseWithBothColumns)
{
    const Valley valley { 0.4, 1200, 0.03, 0.001, 60 };
    ages::HistoryFitSettings settings;
    settings.rateCount = 5;
    settings.otherCount = 3;
    const HistoryFit fit = ages::fitHistory(onePhaseWithBase(), valley, settings);
    std::ostringstream table;
    ages::writeHistoryFitTable(table, fit);
    std::istringstream lines(table.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "start_1_ma,rate_1_mm_yr,base_temperature_c,chi2,in_range");
    int rows = 0;
    while (std::getline(lines, line))
        ++rows;
    EXPECT_EQ(rows, 15);
}

TEST(FitBase, TheBaseIsADimensionOfTheTwoPhaseGridAndOfTheSampler)
{
    // A bowl in (r1, t, r2) and, apart from it, the base: its profile is b0 +- t exactly and the
    // change time's range is the bowl's own.
    const auto bowl = [](const ErosionHistory& h, double base) {
        return std::pow((h[0].rateMmYr - 0.3) / 0.02, 2) + std::pow((h[1].startMa - 9) / 1.5, 2)
            + std::pow((h[1].rateMmYr - 0.8) / 0.03, 2) + std::pow((base - 1130) / 90, 2);
    };
    for (const auto sampler : { ages::HistorySampler::grid, ages::HistorySampler::mcmc }) {
        HistorySpace space { 2, 20, { 0.05, 2.0 }, { 1.0, 19.0 }, 20 };
        space.other = ages::ValueBounds { 800, 1600 };
        ages::HistoryFitSettings settings;
        settings.sampler = sampler;
        settings.mcmc.steps = 600;
        const HistoryFit fit = ages::fitHistory(space, bowl, settings);
        SCOPED_TRACE(sampler == ages::HistorySampler::grid ? "grid" : "mcmc");
        ASSERT_EQ(fit.best.size(), 4u);
        for (const auto& tried : fit.tried)
            ASSERT_TRUE(ages::isInside(space, tried.parameters));
        ASSERT_TRUE(fit.otherFit);
        EXPECT_NEAR(fit.best[3], 1130, sampler == ages::HistorySampler::grid ? 5 : 40);
        EXPECT_NEAR(fit.best[1], 9, sampler == ages::HistorySampler::grid ? 0.05 : 0.8);
        if (sampler == ages::HistorySampler::grid) {
            EXPECT_NEAR(fit.otherFit->rangeLow, 1130 - 90, 15);
            EXPECT_NEAR(fit.otherFit->rangeHigh, 1130 + 90, 15);
            EXPECT_NEAR(fit.profiles.at(0).rangeLowMa, 9 - 1.5, 0.1);
            EXPECT_NEAR(fit.profiles.at(0).rangeHighMa, 9 + 1.5, 0.1);
        } else {
            const auto& interval = fit.posterior->intervals.at(3);
            EXPECT_NEAR(interval.median, 1130, 30);
            EXPECT_NEAR(interval.high - interval.low, 2 * 90, 40);
        }
    }
}

TEST(FitBase, AChangeTimeThatTradesWithTheBaseIsWarnedOf)
{
    // The change time follows the base: t = 9 + (b - 1200) / 100 at the valley's floor, pinned
    // to +- 0.3 Ma at any one base, the base itself only to +- 300 C.
    const auto valley = [](const ErosionHistory& h, double base) {
        return std::pow((h[0].rateMmYr - 0.3) / 0.02, 2)
            + std::pow((h[1].startMa - 9 - (base - 1200) / 100) / 0.3, 2)
            + std::pow((h[1].rateMmYr - 0.8) / 0.03, 2) + std::pow((base - 1200) / 300, 2);
    };
    HistorySpace space { 2, 20, { 0.05, 2.0 }, { 1.0, 19.0 }, 20 };
    space.other = ages::ValueBounds { 800, 1600 };
    const HistoryFit fit = ages::fitHistory(space, valley);
    ASSERT_EQ(fit.profilesAtBestOther.size(), 1u);
    const double wide = fit.profiles[0].rangeHighMa - fit.profiles[0].rangeLowMa;
    const double alone
        = fit.profilesAtBestOther[0].rangeHighMa - fit.profilesAtBestOther[0].rangeLowMa;
    // Over every base: 2 sqrt(0.3^2 + 3^2) = 6.0 Ma; at one base, 0.6 Ma.
    EXPECT_NEAR(wide, 6.0, 0.6);
    EXPECT_LT(alone, 1.2);
    ages::HistoryRequest request;
    request.fitBase = space.other;
    EXPECT_NE(ages::fittedBaseWarnings(fit, request)
                  .find("the ages constrain the history and the geotherm together: change time 1"),
        std::string::npos)
        << ages::fittedBaseWarnings(fit, request);
}

} // namespace
