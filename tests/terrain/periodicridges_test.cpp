// Parallel cosine ridges, uniform along y, eroded at a constant rate: the surface stands still
// while rock rises through it, the steady state of periodic/'s closed-form series. The 3D model
// starts from its own (discrete) steady state and keeps it, so its paths along the ridge, the
// mid-slope and the valley must follow the series' field, T(x, -h(x) + u t) at time t. Half a
// period is enough: the insulated sides at the ridge crest and the valley floor are the
// solution's planes of symmetry.

#include "steadystate.h"
#include "surfaceages.h"
#include "terrainmodel.h"
#include "units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double wavelengthM = 20000.0;
constexpr double amplitudeM = 1000.0;
constexpr double rateMmYr = 0.5;

terrain::Dem ridgeDem(const int columns)
{
    terrain::Dem dem;
    dem.columns = columns;
    dem.rows = 2;
    dem.spacingX = 0.5 * wavelengthM / (columns - 1);
    dem.spacingY = dem.spacingX;
    for (int j = 0; j < dem.rows; ++j)
        for (int i = 0; i < columns; ++i)
            dem.heights.push_back(
                amplitudeM * std::cos(2.0 * std::numbers::pi * dem.x(i) / wavelengthM));
    return dem;
}

struct Site {
    const char* name;
    double xM;
};

class CosineRidges : public testing::TestWithParam<Site> { };

TEST_P(CosineRidges, PathFollowsThePeriodicSeries)
{
    const Site& site = GetParam();
    const terrain::Dem dem = ridgeDem(41);
    terrain::TerrainParameters p;
    p.levels = 61;
    const double surface = amplitudeM * std::cos(2.0 * std::numbers::pi * site.xM / wavelengthM);
    const terrain::SamplePoint sample { site.xM, 0.0, surface };
    const terrain::TerrainRun run = terrain::runTerrainModel(
        dem, p, thermal::parseErosionHistory("10:0.5"), { &sample, 1 }, false);

    periodic::SteadyStateProblem problem;
    problem.velocity = units::metresPerSecondFromMmPerYear(rateMmYr);
    problem.diffusivity = p.thermal.diffusivityM2s;
    problem.surfaceTemp = p.thermal.surfaceTemperatureC;
    problem.lapseRate = p.lapseRateCkm / units::metresPerKilometre;
    problem.basalTemp = p.thermal.baseTemperatureC;
    problem.basalDepth = p.thermal.baseDepthM;
    problem.wavelength = wavelengthM;
    problem.amplitude = amplitudeM;
    const periodic::PeriodicSteadyState series = periodic::PeriodicSteadyState::solve(problem);
    ASSERT_LT(series.largestSurfaceResidual(), 1e-3);

    const terrain::RockPath& path = run.samplePaths[0];
    double worst = 0.0;
    terrain::RockPath exactPath;
    for (std::size_t n = 0; n < path.cooling.size(); ++n) {
        const double risenM = rateMmYr * units::metresPerMyrPerMmPerYear * path.cooling[n].timeMa;
        const double exact = series.temperature(site.xM, -surface + risenM);
        worst = std::max(worst, std::fabs(path.cooling[n].temperatureC - exact));
        EXPECT_NEAR(path.depthM[n], risenM, 1e-6 * risenM + 1e-9);
        exactPath.cooling.push_back({ path.cooling[n].timeMa, exact });
    }
    EXPECT_LT(worst, 0.2) << site.name;

    const thermochron::System systems[]
        = { thermochron::System::AHe, thermochron::System::AFT, thermochron::System::ZHe };
    const auto ages = terrain::surfaceAges(run.samplePaths, systems, {}, 1);
    const auto exactAges = terrain::surfaceAges({ &exactPath, 1 }, systems, {}, 1);
    for (std::size_t s = 0; s < ages.size(); ++s)
        EXPECT_NEAR(ages[s][0], exactAges[s][0], 0.01 * exactAges[s][0])
            << site.name << " " << thermochron::systemName(systems[s]);
}

INSTANTIATE_TEST_SUITE_P(Sites, CosineRidges,
    testing::Values(Site { "ridge", 0.0 }, Site { "midSlope", 0.25 * wavelengthM },
        Site { "valley", 0.5 * wavelengthM }),
    [](const testing::TestParamInfo<Site>& info) { return info.param.name; });

} // namespace
