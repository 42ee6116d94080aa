// The order of the scheme, measured: halving the horizontal spacing, the level spacing and the
// time step together must divide the change of a path by 4 (second order in space and time),
// on a landscape of egg-crate hills, h0 cos(k x) cos(k y), under a history whose rate changes
// (and, in the second case, whose relief changes too), with heat production. The changes of
// successive refinements stand in for the unknown exact answer: with e_h = C h^2,
// |P_h - P_h/2| / |P_h/2 - P_h/4| = 4.

#include "terrainmodel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double periodM = 16000.0;
constexpr double amplitudeM = 800.0;

// A quarter period each way: a crest at (0, 0), a valley floor at the far corner.
terrain::Dem eggCrate(const int columns)
{
    terrain::Dem dem;
    dem.columns = dem.rows = columns;
    dem.spacingX = dem.spacingY = 0.5 * periodM / (columns - 1);
    const double k = 2.0 * std::numbers::pi / periodM;
    for (int j = 0; j < columns; ++j)
        for (int i = 0; i < columns; ++i)
            dem.heights.push_back(amplitudeM * std::cos(k * dem.x(i)) * std::cos(k * dem.y(j)));
    return dem;
}

struct ConvergenceCase {
    const char* name;
    const char* history;
    const char* relief;
};

class Convergence : public testing::TestWithParam<ConvergenceCase> { };

TEST_P(Convergence, HalvingSpacingAndStepQuartersThePathsChange)
{
    const ConvergenceCase& c = GetParam();
    const double k = 2.0 * std::numbers::pi / periodM;
    const std::vector<terrain::SamplePoint> samples = [&] {
        std::vector<terrain::SamplePoint> points;
        // On nodes of the coarsest DEM, and so of every finer one: the bilinear interpolation
        // between columns is exact there, whereas between them its error's constant varies with
        // where the point falls in its cell, and successive changes would not fall by 4.
        for (const double x : { 0.0, 0.25 * periodM, 0.5 * periodM }) {
            const double y = 0.125 * periodM;
            points.push_back({ x, y, amplitudeM * std::cos(k * x) * std::cos(k * y) - 200.0 });
        }
        return points;
    }();
    std::vector<std::vector<terrain::RockPath>> runs;
    for (int refinement = 0; refinement < 3; ++refinement) {
        const int scale = 1 << refinement;
        terrain::TerrainParameters p;
        p.thermal.heatProductionUWm3 = 1.5;
        p.levels = 10 * scale + 1;
        p.timeStepMyr = 1.0 / scale;
        p.relief = terrain::parseReliefHistory(c.relief);
        runs.push_back(terrain::runTerrainModel(
            eggCrate(4 * scale + 1), p, thermal::parseErosionHistory(c.history), samples, false)
                           .samplePaths);
    }
    // The change between two refinements: the largest over the samples and the path, read every
    // 0.01 Myr so that the rock's passage through every part of a level interval counts.
    const auto change = [&](const int coarse) {
        double largest = 0.0;
        for (std::size_t s = 0; s < samples.size(); ++s)
            for (int n = 0; n <= 1200; ++n) {
                const double t = 0.01 * n;
                const double a = thermochron::temperatureAt(runs[coarse][s].cooling, t);
                const double b = thermochron::temperatureAt(runs[coarse + 1][s].cooling, t);
                largest = std::max(largest, std::fabs(a - b));
            }
        return largest;
    };
    const double ratio = change(0) / change(1);
    EXPECT_GT(ratio, 3.5) << c.name;
    EXPECT_LT(ratio, 4.5) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Histories, Convergence,
    testing::Values(ConvergenceCase { "rateChange", "12:0.3,6:1.0", "" },
        ConvergenceCase { "rateAndReliefChange", "12:0.3,6:1.0", "12:0.6,4:1" }),
    [](const testing::TestParamInfo<ConvergenceCase>& info) { return info.param.name; });

} // namespace
