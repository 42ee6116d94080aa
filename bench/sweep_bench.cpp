// The cost of predicting ages along the transient model's cooling paths: one path, its ages, and
// a sweep over 200 erosion rates with five systems (Dodson for all, kinetic for AHe, AFT, ZHe),
// as `cooling_ages transient --rates 0.05:2.04:0.01` computes it, on every core.

#include "ageprediction.h"
#include "agesettings.h"
#include "parallelfor.h"
#include "transientpath.h"

#include <benchmark/benchmark.h>

namespace {

// The five default systems, both methods: the program's defaults.
const ages::AgeSettings defaultSettings {};

erosion::RunParameters transientAt(double rate)
{
    erosion::RunParameters parameters;
    parameters.setErosionRate(rate);
    return parameters;
}

constexpr double exposureMyr = 10.0; // the solver's default exposure time

// 200 rates from 0.05 to 2.04 mm/yr: every one exposes a rock from inside the 50 km model.
std::vector<double> sweepRates()
{
    std::vector<double> rates;
    for (int k = 0; k < 200; ++k)
        rates.push_back(0.05 + 0.01 * k);
    return rates;
}

void transientPath(benchmark::State& state)
{
    const auto parameters = transientAt(0.5);
    for (auto _ : state)
        benchmark::DoNotOptimize(ages::transientCoolingPath(parameters, exposureMyr));
}
BENCHMARK(transientPath)->Unit(benchmark::kMicrosecond);

void transientAgesOneRate(benchmark::State& state)
{
    const auto parameters = transientAt(0.5);
    for (auto _ : state)
        benchmark::DoNotOptimize(ages::transientAgeRows(parameters, exposureMyr, defaultSettings));
}
BENCHMARK(transientAgesOneRate)->Unit(benchmark::kMillisecond);

void transientSweep200Rates(benchmark::State& state)
{
    const std::vector<double> rates = sweepRates();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ages::sweepAgeRows(rates, [](double rate, const ages::RateWork&) {
            return ages::transientAgeRows(transientAt(rate), exposureMyr, defaultSettings);
        }));
    }
    state.counters["threads"] = ages::defaultThreadCount();
}
BENCHMARK(transientSweep200Rates)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
