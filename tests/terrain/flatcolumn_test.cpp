// Under a flat DEM the 3D model is the 1D column: every column of the grid carries the same
// geotherm and no heat flows sideways. Its paths must be thermal::historyPath's, which starts
// from the rate-0 geotherm: so the column runs a long first phase (some 17 e-folding times of
// the slowest mode) before the 3D model's start, and has relaxed to the steady state of that
// phase, the 3D model's initial state.

#include "historypath.h"
#include "surfaceages.h"
#include "terrainmodel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

terrain::Dem flatDem(const double heightM)
{
    terrain::Dem dem;
    dem.columns = 3;
    dem.rows = 3;
    dem.spacingX = dem.spacingY = 2000.0;
    dem.heights.assign(9, heightM);
    return dem;
}

struct FlatCase {
    const char* name;
    const char* history; // of the 3D run
    const char* columnHistory; // the same with a long first phase before it
    double heatProductionUWm3;
    thermal::BaseCondition base;
};

class FlatDem : public testing::TestWithParam<FlatCase> { };

TEST_P(FlatDem, PathIsTheColumnsPath)
{
    const FlatCase& c = GetParam();
    terrain::TerrainParameters p;
    p.thermal.heatProductionUWm3 = c.heatProductionUWm3;
    p.thermal.base = c.base;
    p.levels = 61;
    p.timeStepMyr = 0.25;
    // At sea level the surface is at T0 in both models; the lapse rate then plays no part.
    const terrain::Dem dem = flatDem(0.0);
    const terrain::SamplePoint centre { 2000.0, 2000.0, 0.0 };
    const terrain::TerrainRun run = terrain::runTerrainModel(
        dem, p, thermal::parseErosionHistory(c.history), { &centre, 1 }, false);

    const thermal::HistoryPath column = thermal::historyPath(
        p.thermal, thermal::parseErosionHistory(c.columnHistory), { 50.0, 0.02 });
    thermochron::CoolingPath exact;
    for (std::size_t n = 0; n < column.timeMa.size(); ++n)
        exact.push_back({ column.timeMa[n], column.temperatureC[n] });

    double worst = 0.0;
    terrain::RockPath exactAtSteps;
    for (const thermochron::PathPoint& point : run.samplePaths[0].cooling) {
        const double exactC = thermochron::temperatureAt(exact, point.timeMa);
        worst = std::max(worst, std::fabs(point.temperatureC - exactC));
        exactAtSteps.cooling.push_back({ point.timeMa, exactC });
    }
    EXPECT_LT(worst, 0.05) << c.name;

    // The ages along both paths, at the same times: what the temperatures' difference does to them.
    const thermochron::System systems[]
        = { thermochron::System::AHe, thermochron::System::AFT, thermochron::System::ZHe };
    const auto ages = terrain::surfaceAges(run.samplePaths, systems, {}, 1);
    const auto exactAges = terrain::surfaceAges({ &exactAtSteps, 1 }, systems, {}, 1);
    for (std::size_t s = 0; s < ages.size(); ++s)
        EXPECT_NEAR(ages[s][0], exactAges[s][0], 1e-3 * exactAges[s][0])
            << c.name << " " << thermochron::systemName(systems[s]);
}

INSTANTIATE_TEST_SUITE_P(Histories, FlatDem,
    testing::Values(
        FlatCase { "constant", "20:0.3", "120:0.3", 0.0, thermal::BaseCondition::Temperature },
        FlatCase {
            "constantProducing", "20:0.3", "120:0.3", 2.0, thermal::BaseCondition::Temperature },
        FlatCase { "twoPhaseProducing", "20:0.2,8:0.8", "150:0.2,8:0.8", 2.0,
            thermal::BaseCondition::Temperature },
        FlatCase { "twoPhaseHeatFlow", "20:0.1,8:0.5", "300:0.1,8:0.5", 1.0,
            thermal::BaseCondition::HeatFlow }),
    [](const testing::TestParamInfo<FlatCase>& info) { return info.param.name; });

} // namespace
