// The cost of one forward run of the erosion-history thermal model over 100 Myr on the default
// grid and steps (200 intervals of 250 m over 50 km, steps of at most 0.2 Myr): the path of the
// rock exposed today under two phases, 100:0.2,20:0.5 (it starts 26 km deep), as a fit calls it
// thousands of times; the same with exponential heat production and a held base heat flow; and
// on both cores at once (independent runs on two threads, as a parallel fit makes them).
//
// Beside the times, the accuracy they buy, as counters: the largest difference (C) between the
// path and transient_erosion's closed form for 0.25 mm/yr over 100 Myr (its half-space problem:
// the line 25 C/km at the start, no heat production; the base lies 300 km deep, beyond the
// reach of 100 Myr of diffusion), and the order of convergence of the two-stage path
// 20:0.3,5:0.6 when the steps are halved from 0.2 Myr.

#include "historypath.h"
#include "model.h"
#include "units.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using namespace thermal;

const ErosionHistory hundredMillionYears { { 100.0, 0.2 }, { 20.0, 0.5 } };

void forwardRun(benchmark::State& state, const ThermalParameters& parameters)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(historyPath(parameters, hundredMillionYears));
    state.counters["steps"] = benchmark::Counter(
        static_cast<double>(discretisation(parameters, hundredMillionYears).steps),
        benchmark::Counter::kAvgThreads);
}

ThermalParameters withHeatProduction()
{
    ThermalParameters p;
    p.heatProductionUWm3 = 2.0;
    p.base = BaseCondition::HeatFlow;
    p.baseHeatFlowMWm2 = 60.0;
    return p;
}

void closedForm(benchmark::State& state)
{
    ThermalParameters p;
    p.initial = InitialState::Linear;
    p.base = BaseCondition::HeatFlow;
    p.baseDepthM = 300000.0;
    p.baseHeatFlowMWm2 = 75.0; // k G
    const double rateMmYr = 0.25;
    const ErosionHistory constant { { 100.0, rateMmYr } };
    HistoryPath path;
    for (auto _ : state)
        benchmark::DoNotOptimize(path = historyPath(p, constant));

    erosion::RunParameters exact;
    exact.setErosionRate(rateMmYr);
    double largest = 0.0;
    for (std::size_t i = 0; i < path.timeMa.size(); ++i) {
        const double elapsedS = (100.0 - path.timeMa[i]) * units::secondsPerMyr;
        largest = std::max(largest,
            std::abs(
                path.temperatureC[i] - erosion::transientTemp(exact, -path.depthM[i], elapsedS)));
    }
    state.counters["largest_error_c"] = largest;
}

// The path's temperature at one of its times, or NaN.
double temperatureAt(const HistoryPath& path, const double timeMa)
{
    const auto found
        = std::lower_bound(path.timeMa.begin(), path.timeMa.end(), timeMa, std::greater<double>());
    return found != path.timeMa.end() && *found == timeMa
        ? path.temperatureC[found - path.timeMa.begin()]
        : std::nan("");
}

void convergence(benchmark::State& state)
{
    const ThermalParameters p;
    const ErosionHistory twoStage { { 20.0, 0.3 }, { 5.0, 0.6 } };
    HistoryPath coarse;
    for (auto _ : state)
        benchmark::DoNotOptimize(coarse = historyPath(p, twoStage, { 250.0, 0.2 }));

    const HistoryPath finer = historyPath(p, twoStage, { 250.0, 0.1 });
    const HistoryPath finest = historyPath(p, twoStage, { 250.0, 0.05 });
    double change = 0.0, halvedChange = 0.0; // std::max passes over NaN
    for (std::size_t i = 0; i < coarse.timeMa.size(); ++i) {
        const double t = coarse.timeMa[i];
        change = std::max(change, std::abs(coarse.temperatureC[i] - temperatureAt(finer, t)));
        halvedChange
            = std::max(halvedChange, std::abs(temperatureAt(finer, t) - temperatureAt(finest, t)));
    }
    state.counters["change_c"] = change;
    state.counters["order"] = std::log2(change / halvedChange);
}

BENCHMARK_CAPTURE(forwardRun, defaults, ThermalParameters {})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(forwardRun, heat_production_and_flow, withHeatProduction())
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(forwardRun, two_threads, ThermalParameters {})
    ->Threads(2)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(closedForm)->Unit(benchmark::kMicrosecond);
BENCHMARK(convergence)->Unit(benchmark::kMicrosecond);

} // namespace
