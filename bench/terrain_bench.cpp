// The cost of the 3D model under a DEM, measured: a run over 20 Myr (one phase at 0.5 mm/yr,
// 40 steps of 0.5 Myr and the initial steady state) on DEMs of 31 x 31, 61 x 61 and 121 x 121
// nodes, 41 levels, with the ages (AHe, AFT, ZHe) of the rock at every surface node; the
// accuracy of the same grid under a flat DEM against the 1D column's exact-to-0.01 C path; the
// process's peak memory. A program that prints its figures, not a timed test: the run takes
// seconds, and its parts (assembly, solves, ages) are timed separately.
//
//     build/bin/terrain_bench            all three sizes
//     build/bin/terrain_bench 61         one size

#include "historypath.h"
#include "surfaceages.h"
#include "terrainmodel.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(const Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double peakMemoryMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kB on Linux
}

// Hills and valleys over 30 km with 1.2 km of relief: two crossing wave trains and a slope.
terrain::Dem hills(const int nodes, const double amplitudeM)
{
    terrain::Dem dem;
    dem.columns = dem.rows = nodes;
    dem.spacingX = dem.spacingY = 30000.0 / (nodes - 1);
    for (int j = 0; j < nodes; ++j)
        for (int i = 0; i < nodes; ++i) {
            const double x = dem.x(i), y = dem.y(j);
            dem.heights.push_back(800.0 + amplitudeM
                    * (0.6 * std::cos(2 * std::numbers::pi * x / 12000.0)
                            * std::cos(2 * std::numbers::pi * y / 15000.0)
                        + 0.4 * std::sin(2 * std::numbers::pi * (x + y) / 21000.0))
                + 0.01 * x);
        }
    return dem;
}

// The largest error of the flat DEM's centre path against the 1D column, C: the column runs
// a long first phase before the 3D start, so that it too starts from the phase's steady state.
double flatError(const int nodes, const terrain::TerrainParameters& p)
{
    const terrain::Dem dem = hills(nodes, 0.0);
    const terrain::SamplePoint centre { 15000.0, 15000.0, dem.height(nodes / 2, nodes / 2) };
    terrain::TerrainParameters flat = p;
    flat.lapseRateCkm = 0.0;
    const terrain::TerrainRun run = terrain::runTerrainModel(
        dem, flat, thermal::parseErosionHistory("20:0.5"), { &centre, 1 }, false);
    thermal::ThermalParameters column = p.thermal;
    column.surfaceTemperatureC = p.thermal.surfaceTemperatureC;
    // The flat DEM stands at 800 m: the column's surface is there, its base L + 800 m below.
    column.baseDepthM = p.thermal.baseDepthM + centre.elevationM;
    const thermal::HistoryPath exact
        = thermal::historyPath(column, thermal::parseErosionHistory("90:0.5"), { 50.0, 0.02 });
    thermochron::CoolingPath exactPath;
    for (std::size_t n = 0; n < exact.timeMa.size(); ++n)
        exactPath.push_back({ exact.timeMa[n], exact.temperatureC[n] });
    double worst = 0.0;
    for (const thermochron::PathPoint& point : run.samplePaths[0].cooling)
        worst = std::max(worst,
            std::fabs(point.temperatureC - thermochron::temperatureAt(exactPath, point.timeMa)));
    return worst;
}

void measure(const int nodes)
{
    terrain::TerrainParameters p;
    p.thermal.heatProductionUWm3 = 1.0;
    p.levels = 41;
    p.timeStepMyr = 0.5;
    const terrain::Dem dem = hills(nodes, 600.0);
    const std::size_t gridNodes = dem.nodeCount() * p.levels;

    const Clock::time_point start = Clock::now();
    const terrain::TerrainRun run
        = terrain::runTerrainModel(dem, p, thermal::parseErosionHistory("20:0.5"));
    const double modelSeconds = secondsSince(start);

    const Clock::time_point agesStart = Clock::now();
    const thermochron::System systems[]
        = { thermochron::System::AHe, thermochron::System::AFT, thermochron::System::ZHe };
    const auto ages = terrain::surfaceAges(run.surfacePaths, systems, {});
    const double agesSeconds = secondsSince(agesStart);

    const double error = flatError(nodes, p);
    const double solves = static_cast<double>(run.statistics.solves);
    std::printf("%3d x %3d x %d: %7zu nodes, %lld steps (%lld solves)\n", nodes, nodes, p.levels,
        gridNodes, run.steps, run.statistics.solves);
    std::printf("    model %.2f s (%.2f us per node and solve), %.1f BiCGSTAB iterations per "
                "solve, largest residual %.1e\n",
        modelSeconds, 1e6 * modelSeconds / (gridNodes * solves),
        run.statistics.iterations / solves, run.statistics.largestRelativeResidual);
    std::printf("    ages of %zu surface rocks x 3 systems %.2f s; model and ages %.2f s\n",
        run.surfacePaths.size(), agesSeconds, modelSeconds + agesSeconds);
    const auto [lowest, highest] = std::minmax_element(ages[0].begin(), ages[0].end());
    std::printf("    AHe ages %.2f to %.2f Ma\n", *lowest, *highest);
    std::printf("    flat DEM against the 1D column: largest error %.4f C\n", error);
    std::printf("    peak memory of the process so far %.0f MB\n", peakMemoryMb());
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes { 31, 61, 121 };
    if (argc > 1)
        sizes = { std::atoi(argv[1]) };
    for (const int nodes : sizes)
        measure(nodes);
}
