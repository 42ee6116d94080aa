// The C++ side of bench/python_bench.py, which times the same work through the Python module
// erosion_thermal and reports the module against these figures.
//
// closedFormGrid: the closed form of the transient model (defaults) over a grid of a million
// points, 1000 depths from 0 to 10 km by 1000 times from 0 to 20 Myr, written into a new array
// as a C++ caller's loop would, as transient_temperature writes its new numpy array.
//
// predictAge: one age along the default transient path (the rock exposed after 10 Myr at
// 0.5 mm/yr, 1001 points), a Dodson closure age and the default kinetic AHe age, default grain;
// and a Dodson age along a path of two points, which costs the model next to nothing, so that
// the module's own cost per call shows beside it.

#include "model.h"
#include "transientpath.h"
#include "units.h"

#include "thermochron/predict.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int gridSide = 1000;
constexpr double gridDepthM = 10000;
constexpr double gridTimeMyr = 20;

void closedFormGrid(benchmark::State& state)
{
    const erosion::RunParameters parameters;
    std::vector<double> depthM(gridSide);
    std::vector<double> timeMyr(gridSide);
    for (int i = 0; i < gridSide; ++i) {
        depthM[i] = gridDepthM * i / (gridSide - 1);
        timeMyr[i] = gridTimeMyr * i / (gridSide - 1);
    }
    for (auto _ : state) {
        // Not zeroed, as numpy's new array is not.
        const auto temperatureC = std::make_unique_for_overwrite<double[]>(
            static_cast<std::size_t>(gridSide) * gridSide);
        double* out = temperatureC.get();
        for (const double depth : depthM)
            for (const double time : timeMyr)
                *out++ = erosion::transientTemp(parameters, -depth, time * units::secondsPerMyr);
        benchmark::DoNotOptimize(temperatureC.get());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * gridSide * gridSide);
}

void predictAge(benchmark::State& state, thermochron::Method method, bool twoPoints)
{
    const erosion::RunParameters parameters;
    const thermochron::CoolingPath path = twoPoints
        ? thermochron::CoolingPath { { 10, 120 }, { 0, 0 } }
        : ages::transientCoolingPath(parameters, parameters.historyTime).path;
    const thermochron::Grain grain;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            thermochron::predictAge(path, thermochron::System::AHe, method, grain));
}

} // namespace

BENCHMARK(closedFormGrid)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(predictAge, AHe_dodson, thermochron::Method::Dodson, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictAge, AHe_kinetic, thermochron::Method::Diffusion, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictAge, AHe_dodson_two_points, thermochron::Method::Dodson, true)
    ->Unit(benchmark::kMicrosecond);
