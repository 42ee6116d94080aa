// The cost of a rate fit: 20 measured samples (AHe, ZHe and AFT each with grains of its own, and
// ZFT by Dodson closure) predicted at every one of 500 erosion rates and compared, on all
// processors. Transient: one cooling path per rate. Periodic: one steady state per rate, and the
// paths of the profile points the samples' elevations fall between.
//
// And the fits of the two data sets of fitdatasets.h, as cooling_ages runs them with --observed
// and no --output (the fit alone, kinetic ages, the default damage kinetics):
//   profile25    cooling_ages periodic -A 850 -w 20000 -o 60 --rates 0.05:0.6:0.01
//                --method kinetic --observed profile25_ahe.csv
//   grains10000  cooling_ages transient --rates 0.2:0.7:0.01 --method kinetic
//                --observed grains10000_ahe.csv

#include "agecommandline.h"
#include "fitdatasets.h"
#include "fitoptions.h"
#include "observedfit.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using thermochron::System;

// Twenty samples of a ridge-to-valley transect, 1100 to 2900 m above sea level, with the model's
// mean surface at 2000 m; ages about what 0.5 mm/yr gives (the fit's cost does not depend on them).
std::vector<ages::ObservedAge> twentySamples()
{
    std::vector<ages::ObservedAge> samples;
    const System systems[] = { System::AHe, System::AHe, System::AFT, System::ZHe, System::ZFT };
    const double agesMa[] = { 4, 4, 6, 9, 14 };
    for (int i = 0; i < 20; ++i) {
        ages::ObservedAge sample;
        sample.line = i + 2;
        sample.sample = "S" + std::to_string(i);
        sample.system = systems[i % 5];
        sample.ageMa = agesMa[i % 5];
        sample.sigmaMa = 0.08 * sample.ageMa;
        sample.elevationM = 1100 + 1800.0 * i / 19;
        sample.radiusUm = 45 + 3 * i; // every He grain its own
        sample.uPpm = 5 + i;
        sample.dparUm = 1.6 + 0.05 * i;
        samples.push_back(sample);
    }
    return samples;
}

void fitTwentySamples(benchmark::State& state, ages::Model model)
{
    ages::AgeRequest request;
    request.model = model;
    request.sweep = ages::RateSweep { 0.1, 0.1 + 499 * 0.002, 0.002 }; // 500 rates
    ages::FitOptions options;
    options.meanElevationM = 2000;
    options.meanElevationGiven = true; // transient: each sample on the path of its height
    const ages::ObservedFit fit(request, options, twentySamples());
    for (auto _ : state) {
        benchmark::DoNotOptimize(fit.run());
    }
    state.counters["rates"] = static_cast<double>(request.sweep->rates().size());
}

// Wall time is the target; the CPU column adds up all threads, so on a busy machine CPU / cores
// says what an idle one would take.
BENCHMARK_CAPTURE(fitTwentySamples, transient, ages::Model::transient)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(fitTwentySamples, periodic, ages::Model::periodic)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void fitDataSet(benchmark::State& state, ages::AgeRequest (*request)(),
    std::vector<ages::ObservedAge> (*samples)())
{
    const ages::AgeRequest fitted = request();
    const ages::FitOptions options;
    const ages::ObservedFit fit(fitted, options, samples());
    for (auto _ : state) {
        benchmark::DoNotOptimize(fit.run());
    }
    state.counters["samples"] = static_cast<double>(fit.samples().size());
    state.counters["rates"] = static_cast<double>(fit.rates().size());
}

BENCHMARK_CAPTURE(fitDataSet, profile25, fitdata::profile25Request, fitdata::profile25)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(fitDataSet, grains10000, fitdata::grains10000Request, fitdata::grains10000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);

} // namespace
