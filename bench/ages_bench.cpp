// The cost of one predicted age along a 20 Myr cooling path sampled every 0.01 Myr (2001 points,
// as the thermal models hand their paths to the age program): the kinetic (U-Th)/He ages of
// apatite and zircon, the apatite fission-track age, and a Dodson closure age for comparison.
// The path cools from 250 C, fast at first and slowly towards the surface, so that every
// system passes through its partial retention or annealing zone. Default grain and resolutions.

#include "predict.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace thermochron;

CoolingPath twentyMillionYearPath()
{
    constexpr int points = 2001;
    constexpr double durationMyr = 20;
    CoolingPath path;
    for (int i = 0; i < points; ++i) {
        const double timeMa = durationMyr * (points - 1 - i) / (points - 1);
        // T = 10 + 240 (t / 20 Myr)^1.5 C.
        path.push_back({ timeMa, 10 + 240 * std::pow(timeMa / durationMyr, 1.5) });
    }
    return path;
}

void predictOne(benchmark::State& state, System system, Method method)
{
    const CoolingPath path = twentyMillionYearPath();
    const Grain grain;
    for (auto _ : state)
        benchmark::DoNotOptimize(predictAge(path, system, method, grain));
}

BENCHMARK_CAPTURE(predictOne, AHe_diffusion, System::AHe, Method::Diffusion)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictOne, ZHe_diffusion, System::ZHe, Method::Diffusion)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictOne, AFT_annealing, System::AFT, Method::Annealing)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictOne, AHe_dodson, System::AHe, Method::Dodson)
    ->Unit(benchmark::kMicrosecond);

} // namespace
