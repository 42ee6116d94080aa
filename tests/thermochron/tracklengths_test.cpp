#include "paths.h"
#include "tracklengths.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <gtest/gtest.h>

#include <numeric>

using namespace thermochron;

// Ten million years at one temperature, Dpar 1.75 um: the mean and standard deviation of the
// projected and unprojected lengths, as the converged mixture gives them, within 0.05 um.
TEST(TrackLengths, IsothermalHoldsGiveTheConvergedMeansAndSpreads)
{
    struct Case {
        double temperatureC;
        double projectedMean, projectedSd, unprojectedMean, unprojectedSd;
    };
    const Case cases[] = {
        { 0, 15.808, 0.785, 15.272, 1.070 },
        { 20, 15.504, 0.778, 14.885, 1.059 },
        { 60, 14.353, 0.792, 13.265, 1.160 },
        { 90, 12.301, 1.085, 9.767, 2.299 },
        { 110, 11.820, 1.347, 9.111, 2.704 },
    };
    for (const Case& c : cases) {
        const TrackLengths lengths
            = apatiteTrackLengths(testpaths::hold(10, c.temperatureC), Grain { .dparUm = 1.75 });
        EXPECT_NEAR(lengths.projected.meanUm(), c.projectedMean, 0.05) << c.temperatureC << " C";
        EXPECT_NEAR(lengths.projected.sdUm(), c.projectedSd, 0.05) << c.temperatureC << " C";
        EXPECT_NEAR(lengths.unprojected.meanUm(), c.unprojectedMean, 0.05) << c.temperatureC;
        EXPECT_NEAR(lengths.unprojected.sdUm(), c.unprojectedSd, 0.05) << c.temperatureC;
    }
}

// The bins, the distribution function, the density and the moments must describe one
// distribution: bins summing to 1, empty below 2.15 um, each the rise of the cdf across it; the
// density integrating to the cdf and to the mean.
TEST(TrackLengths, BinsCdfDensityAndMomentsAgree)
{
    const TrackLengthDistribution distribution
        = apatiteTrackLengths({ { 60, 140 }, { 0, 10 } }, Grain {}).unprojected;
    const auto& bins = distribution.bins();
    EXPECT_NEAR(std::accumulate(bins.begin(), bins.end(), 0.0), 1.0, 1e-12);
    for (std::size_t k = 0; k < 21; ++k)
        EXPECT_EQ(bins[k], 0.0) << k;
    EXPECT_GT(bins[21], 0.0);
    using Quadrature = boost::math::quadrature::gauss_kronrod<double, 31>;
    const auto density = [&](double l) { return distribution.pdf(l); };
    EXPECT_NEAR(
        Quadrature::integrate(density, 2.15, 12.0, 15, 1e-12), distribution.cdf(12.0), 1e-9);
    EXPECT_NEAR(Quadrature::integrate(density, 2.15, 20.0, 15, 1e-12), 1.0, 1e-9);
    const double mean = Quadrature::integrate(
        [&](double l) { return l * distribution.pdf(l); }, 2.15, 20.0, 15, 1e-12);
    EXPECT_NEAR(distribution.meanUm(), mean, 1e-9);
    const double variance = Quadrature::integrate(
        [&](double l) { return (l - mean) * (l - mean) * distribution.pdf(l); }, 2.15, 20.0, 15,
        1e-12);
    EXPECT_NEAR(distribution.sdUm(), std::sqrt(variance), 1e-9);
    EXPECT_EQ(distribution.pdf(2.1), 0.0);
}

// Californium irradiation changes the unprojected lengths alone, by the linear r_m of the
// mounts (r_m = 1.396 r_c - 0.4017 against the quadratic, equal near r_c = 0.85).
TEST(TrackLengths, CaliforniumMountsChangeOnlyTheUnprojectedLengths)
{
    const CoolingPath path = testpaths::hold(10, 90);
    const TrackLengths plain = apatiteTrackLengths(path, Grain {});
    const TrackLengths cf = apatiteTrackLengths(path, Grain {}, { .californiumIrradiated = true });
    EXPECT_EQ(plain.projected.meanUm(), cf.projected.meanUm());
    EXPECT_GT(std::abs(plain.unprojected.meanUm() - cf.unprojected.meanUm()), 0.05);
    EXPECT_NEAR(unprojectedReducedLength(0.9, {}), -1.499 * 0.81 + 4.150 * 0.9 - 1.656, 1e-12);
    EXPECT_NEAR(unprojectedReducedLength(0.9, { true }), 1.396 * 0.9 - 0.4017, 1e-12);
    EXPECT_THROW(apatiteTrackLengths(testpaths::hold(10, 1000), Grain {}), std::invalid_argument);
}
