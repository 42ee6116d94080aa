#include "caxisprojection.h"
#include "lengthstatistics.h"
#include "tracklengths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace thermochron;

// Tracks on the ellipse (the first, longer than 12.96 um projected) and two short ones at high
// angle, on the line of the leaving angle.
TEST(CaxisProjection, ProjectsOntoTheEllipseOrTheLineOfHighAngleTracks)
{
    struct Case {
        double lengthUm, angleDegrees, projectedUm;
    };
    for (const Case c : { Case { 15, 35, 15.405679 }, Case { 12.73, 78.45, 14.430423 },
             Case { 10.94, 70.21, 13.236076 } })
        EXPECT_NEAR(caxisProjectedLengthUm(c.lengthUm, c.angleDegrees), c.projectedUm, 1e-6)
            << c.lengthUm << " um at " << c.angleDegrees;
    // Along the c axis a track is its own projection; across it, it projects longer.
    EXPECT_EQ(caxisProjectedLengthUm(9.0, 0.0), 9.0);
    EXPECT_GT(caxisProjectedLengthUm(14.0, 90.0), 14.0);
    EXPECT_THROW(caxisProjectedLengthUm(14.0, 91.0), std::invalid_argument);
}

// The tails at the tabulated critical points: 1.3581 and 1.6276 for the 5 and 1 % levels of
// Kolmogorov-Smirnov, 1.747 and 2.001 for Kuiper (Stephens 1970).
TEST(LengthStatistics, TailsMeetTheTabulatedCriticalPoints)
{
    EXPECT_NEAR(kolmogorovSmirnovTail(1.3581), 0.05, 1e-4);
    EXPECT_NEAR(kolmogorovSmirnovTail(1.6276), 0.01, 1e-4);
    EXPECT_NEAR(kuiperTail(1.747), 0.05, 1e-3);
    EXPECT_NEAR(kuiperTail(2.001), 0.01, 1e-3);
    EXPECT_EQ(kolmogorovSmirnovTail(0.1), 1.0);
    EXPECT_EQ(kuiperTail(0.3), 1.0);
}

// Three lengths against a uniform distribution function on [0, 1], by hand: D+ = 1 - 0.7,
// D- = 0.1, so D = 0.3 and V = 0.4; the p-values at the scales of Stephens (1970).
TEST(LengthStatistics, StatisticsOfAHandWorkedSample)
{
    const std::vector<double> lengths { 0.7, 0.1, 0.4 };
    const auto uniform = [](double x) { return std::clamp(x, 0.0, 1.0); };
    const double root = std::sqrt(3.0);
    const FitStatistic ks = kolmogorovSmirnov(lengths, uniform);
    EXPECT_NEAR(ks.statistic, 0.3, 1e-15);
    EXPECT_DOUBLE_EQ(ks.pValue, kolmogorovSmirnovTail((root + 0.12 + 0.11 / root) * 0.3));
    const FitStatistic v = kuiper(lengths, uniform);
    EXPECT_NEAR(v.statistic, 0.4, 1e-15);
    EXPECT_DOUBLE_EQ(v.pValue, kuiperTail((root + 0.155 + 0.24 / root) * 0.4));
    EXPECT_THROW(kolmogorovSmirnov({}, uniform), std::invalid_argument);
}

// One normal of mean 14 um and sd 1 um, whose cut at 2.15 and 20 um removes 1e-9 of it: a track
// at the mean has -2 ln f = ln(2 pi); one sd away, 1 more. Shorter than 2.15 um is refused.
TEST(LengthStatistics, MinusTwoLogLikelihoodOfOneNormal)
{
    const TrackLengthDistribution normal({ { 1.0, 14.0, 1.0 } });
    const double atMean = std::log(2 * std::numbers::pi);
    EXPECT_NEAR(minusTwoLogLikelihood(std::vector { 14.0 }, normal), atMean, 1e-8);
    EXPECT_NEAR(minusTwoLogLikelihood(std::vector { 14.0, 15.0 }, normal), 2 * atMean + 1, 1e-8);
    EXPECT_THROW(minusTwoLogLikelihood(std::vector { 2.0 }, normal), std::invalid_argument);
}
