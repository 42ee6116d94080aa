// The relief history and the uplift map: their reading, and runs that must equal runs without
// them. Today's relief at all times is the steady topography; scaling a flat DEM's relief
// changes nothing; an uplift map of one factor everywhere is the history at that multiple of
// its rates.

#include "terrainmodel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

TEST(ReliefHistory, FactorHoldsFromItsStartUntilTheNext)
{
    const terrain::ReliefHistory relief = terrain::parseReliefHistory("20:0.5,8:2,3:1");
    const std::pair<double, double> expected[] = { { 30.0, 0.5 }, { 20.0, 0.5 }, { 10.0, 0.5 },
        { 8.0, 2.0 }, { 5.0, 2.0 }, { 1.0, 1.0 }, { 0.0, 1.0 } };
    for (const auto& [timeMa, factor] : expected)
        EXPECT_DOUBLE_EQ(relief.factorAt(timeMa), factor) << timeMa;
    EXPECT_DOUBLE_EQ(terrain::parseReliefHistory("").factorAt(5.0), 1.0);
}

TEST(ReliefHistory, RefusesWhatIsNoHistory)
{
    for (const char* text :
        { "20", "20:0.5:1", "20:x", "20:0.5", "8:1,20:1", "20:-1,8:1", "0:1", "20:1," }) {
        EXPECT_THROW(terrain::parseReliefHistory(text), std::invalid_argument) << text;
    }
}

terrain::Dem ridges(const double amplitudeM)
{
    terrain::Dem dem;
    dem.columns = 9;
    dem.rows = 5;
    dem.spacingX = dem.spacingY = 1250.0;
    for (int j = 0; j < dem.rows; ++j)
        for (int i = 0; i < dem.columns; ++i)
            dem.heights.push_back(500.0
                + amplitudeM * std::cos(std::numbers::pi * dem.x(i) / 10000.0)
                    * (1.0 + 0.2 * std::sin(dem.y(j) / 3000.0)));
    return dem;
}

// The largest difference between two runs' surface-node paths, C, at the times both recorded
// (a run whose phase is cut in two records the graded opening's times too; between recorded
// times a path's linear interpolation would add its own error).
double largestDifference(const terrain::TerrainRun& a, const terrain::TerrainRun& b)
{
    double largest = 0.0;
    std::size_t common = 0;
    for (std::size_t n = 0; n < a.surfacePaths.size(); ++n) {
        const thermochron::CoolingPath& pathA = a.surfacePaths[n].cooling;
        const thermochron::CoolingPath& pathB = b.surfacePaths[n].cooling;
        for (const thermochron::PathPoint& point : pathB) {
            const auto same
                = std::find_if(pathA.begin(), pathA.end(), [&](const thermochron::PathPoint& q) {
                      return std::fabs(q.timeMa - point.timeMa) < 1e-9;
                  });
            if (same == pathA.end())
                continue;
            ++common;
            largest = std::max(largest, std::fabs(same->temperatureC - point.temperatureC));
        }
    }
    EXPECT_GT(common, a.surfacePaths.size() * 10);
    return largest;
}

struct EquivalentRuns {
    const char* name;
    double amplitudeM;
    const char* relief;
    double upliftFactor; // of the uniform map (0: no map)
    const char* history;
    const char* equivalentHistory; // of the run without the uplift map
    const char* equivalentRelief; // and with this relief history
    double toleranceC; // a phase cut in two takes its steps a little differently
};

class Equivalent : public testing::TestWithParam<EquivalentRuns> { };

TEST_P(Equivalent, RunEqualsTheRunWithout)
{
    const EquivalentRuns& c = GetParam();
    const terrain::Dem dem = ridges(c.amplitudeM);
    terrain::TerrainParameters plain;
    plain.levels = 21;
    terrain::TerrainParameters p = plain;
    plain.relief = terrain::parseReliefHistory(c.equivalentRelief);
    p.relief = terrain::parseReliefHistory(c.relief);
    if (c.upliftFactor > 0.0)
        p.upliftFactors.assign(dem.nodeCount(), c.upliftFactor);
    const terrain::TerrainRun run
        = terrain::runTerrainModel(dem, p, thermal::parseErosionHistory(c.history));
    const terrain::TerrainRun reference
        = terrain::runTerrainModel(dem, plain, thermal::parseErosionHistory(c.equivalentHistory));
    EXPECT_LT(largestDifference(run, reference), c.toleranceC) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Runs, Equivalent,
    testing::Values(EquivalentRuns { "todaysReliefAtAllTimes", 800.0, "10:1,6:1", 0.0,
                        "10:0.4,4:0.8", "10:0.4,4:0.8", "", 1e-3 },
        // Cut where the scaled run is, so that the two take the same steps.
        EquivalentRuns { "flatDemScaled", 0.0, "10:0.3,6:2,3:1", 0.0, "10:0.4,4:0.8",
            "10:0.4,4:0.8", "10:1,6:1,3:1", 1e-9 },
        EquivalentRuns {
            "uniformUpliftMap", 800.0, "", 2.0, "10:0.2,4:0.4", "10:0.4,4:0.8", "", 1e-9 }),
    [](const testing::TestParamInfo<EquivalentRuns>& info) { return info.param.name; });

} // namespace
