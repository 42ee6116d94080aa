// The cost of the 3D model under a DEM, measured: a run over 20 Myr (one phase at 0.5 mm/yr,
// 40 steps of 0.5 Myr and the initial steady state) on DEMs of 31 x 31, 61 x 61 and 121 x 121
// nodes, 41 levels, with the ages (AHe, AFT, ZHe) of the rock at every surface node; the
// accuracy of the same grid under a flat DEM against the 1D column's exact-to-0.01 C path; the
// process's peak memory. A program that prints its figures, not a timed test: the run takes
// seconds, and its parts (assembly, solves, ages) are timed separately.
//
//     build/bin/terrain_bench            all three sizes
//     build/bin/terrain_bench 61         one size
//     build/bin/terrain_bench --dem jacksboro_dem.tif --spacing 500 --out DIR
//                                        the real DEM (scripts/make_demo_dem.py) read, projected
//                                        and resampled, run, its age map and field written to DIR

#include "agemapwriter.h"
#include "demreader.h"
#include "fieldwriter.h"
#include "historypath.h"
#include "samplecoordinates.h"
#include "surfaceages.h"
#include "terrainmodel.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
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
            dem.heights.push_back(800.0
                + amplitudeM
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
        modelSeconds, 1e6 * modelSeconds / (gridNodes * solves), run.statistics.iterations / solves,
        run.statistics.largestRelativeResidual);
    std::printf("    ages of %zu surface rocks x 3 systems %.2f s; model and ages %.2f s\n",
        run.surfacePaths.size(), agesSeconds, modelSeconds + agesSeconds);
    const auto [lowest, highest] = std::minmax_element(ages[0].begin(), ages[0].end());
    std::printf("    AHe ages %.2f to %.2f Ma\n", *lowest, *highest);
    std::printf("    flat DEM against the 1D column: largest error %.4f C\n", error);
    std::printf("    peak memory of the process so far %.0f MB\n", peakMemoryMb());
}

// The whole chain on a real DEM: read and project it, run 20 Myr with the relief growing to
// today's, date every surface rock, write the age map and the field.
void demo(const std::string& path, const double spacingM, const std::string& directory)
{
    Clock::time_point start = Clock::now();
    const terrain::Dem dem = terrain::readDem(path, { .spacingM = spacingM });
    const double readSeconds = secondsSince(start);
    terrain::TerrainParameters p;
    p.thermal.heatProductionUWm3 = 1.0;
    p.relief = terrain::parseReliefHistory("20:0.5,10:1");
    // A rock at the DEM's centre, given by longitude and latitude.
    const auto [x, y] = terrain::fromLonLat(dem, -84.25, 36.59);
    const auto centre
        = terrain::TerrainGrid(dem, dem.heights, p.thermal.baseDepthM, 3, 1.0).locate(x, y, 1e6);
    const terrain::SamplePoint sample { x, y, centre.surfaceM };
    start = Clock::now();
    const terrain::TerrainRun run = terrain::runTerrainModel(
        dem, p, thermal::parseErosionHistory("20:0.2,6:0.5"), { &sample, 1 });
    const double runSeconds = secondsSince(start);
    start = Clock::now();
    const thermochron::System systems[]
        = { thermochron::System::AHe, thermochron::System::AFT, thermochron::System::ZHe };
    const auto ages = terrain::surfaceAges(run.surfacePaths, systems, {});
    const double agesSeconds = secondsSince(start);
    const std::string names[] = { "AHe", "AFT", "ZHe" };
    terrain::writeAgeMap(directory + "/ages.tif", dem, names, ages);
    terrain::writeTemperatureField(
        directory + "/field.vts", run.presentGrid, run.presentTemperatureC);
    std::printf("%s at %.0f m: %d x %d nodes, %.0f to %.0f m; read %.2f s, run %.2f s (%zu nodes, "
                "%lld steps), ages %.2f s\n",
        path.c_str(), spacingM, dem.columns, dem.rows, dem.lowest(), dem.highest(), readSeconds,
        runSeconds, run.presentGrid.nodeCount(), run.steps, agesSeconds);
    std::printf("    %lld solves, %lld BiCGSTAB iterations (%lld of them the initial steady "
                "state's), %d preconditioners\n",
        run.statistics.solves, run.statistics.iterations, run.statistics.initialStateIterations,
        run.statistics.preconditioners);
    for (std::size_t s = 0; s < ages.size(); ++s) {
        const auto [lowest, highest] = std::minmax_element(ages[s].begin(), ages[s].end());
        std::printf("    %s ages %.2f to %.2f Ma\n", names[s].c_str(), *lowest, *highest);
    }
    const thermochron::CoolingPath& path0 = run.samplePaths[0].cooling;
    std::printf("    the rock at 84.25 W 36.59 N, %.0f m: %.1f C at %.0f Ma, %.1f C today\n",
        sample.elevationM, path0.front().temperatureC, path0.front().timeMa,
        path0.back().temperatureC);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 7 && std::string(argv[1]) == "--dem") {
        demo(argv[2], std::atof(argv[4]), argv[6]);
        return 0;
    }
    std::vector<int> sizes { 31, 61, 121 };
    if (argc > 1)
        sizes = { std::atoi(argv[1]) };
    for (const int nodes : sizes)
        measure(nodes);
}
