// The cost of one predicted age.
//
// predictOne: along a 20 Myr cooling path sampled every 0.01 Myr (2001 points, as the thermal
// models hand their paths to the age program): the (U-Th)/He ages of apatite and zircon with
// each kinetics, the apatite fission-track age, and a Dodson closure age for comparison. The
// path cools from 250 C, fast at first and slowly towards the surface, so that every system
// passes through its partial retention or annealing zone.
//
// hundredSteps: a damage age on a path the diffusion model takes in 100 steps of 0.5 Myr: 50 Myr
// of steady cooling, from 120 C for apatite and from 200 C for zircon, given by its two ends.
// Default grain and resolutions throughout.

#include "heliumdiffusion.h"
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

void predictOne(benchmark::State& state, System system, Method method, KineticsChoice kinetics)
{
    const CoolingPath path = twentyMillionYearPath();
    const Grain grain;
    for (auto _ : state)
        benchmark::DoNotOptimize(predictAge(path, system, method, grain, kinetics));
}

void hundredSteps(benchmark::State& state, Kinetics kinetics, double startC)
{
    const CoolingPath path { { 50, startC }, { 0, 0 } };
    const Grain grain;
    for (auto _ : state)
        benchmark::DoNotOptimize(heliumAge(path, kinetics, grain));
}

constexpr KineticsChoice defaults {};
constexpr KineticsChoice withoutDamage { Kinetics::Farley, Kinetics::Reiners };

BENCHMARK_CAPTURE(predictOne, AHe_rdaam, System::AHe, Method::Diffusion, defaults)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictOne, AHe_farley, System::AHe, Method::Diffusion, withoutDamage)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictOne, ZHe_zrdaam, System::ZHe, Method::Diffusion, defaults)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictOne, ZHe_reiners, System::ZHe, Method::Diffusion, withoutDamage)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictOne, AFT_ketcham2007, System::AFT, Method::Annealing, defaults)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(predictOne, AHe_dodson, System::AHe, Method::Dodson, defaults)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(hundredSteps, AHe_rdaam, Kinetics::Rdaam, 120.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(hundredSteps, AHe_farley, Kinetics::Farley, 120.0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(hundredSteps, ZHe_zrdaam, Kinetics::Zrdaam, 200.0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(hundredSteps, ZHe_reiners, Kinetics::Reiners, 200.0)
    ->Unit(benchmark::kMicrosecond);

} // namespace
