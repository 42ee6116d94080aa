// The cost and accuracy of the misfit behind `cooling_ages history --observed`: one thermal run
// of the history and the kinetic age of every distinct grain, per history tried.
//
// - one evaluation on the fits' resolution and on the model's default one, for the samples of a
//   single rock (AHe and ZHe grains each with its own radius and eU, AFT grains each with its own
//   Dpar);
// - how far the fits' resolution moves the ages from the table's (the model's default
//   resolution): the largest relative change over a table of histories (counter
//   largest_age_change), beside that of a coarser time step;
// - whole fits as the program runs them: the two-phase grid on 3, 8 and 20 samples, and the
//   three-phase ensemble sampler with its defaults (20 walkers x 1000 steps) on 8.

#include "agekind.h"
#include "historyfit.h"
#include "historymisfit.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <vector>

namespace {

using thermochron::System;

// n grains of one rock, dated by AHe, AFT and ZHe in turn; ages about what 30:0.1,8:0.8 gives
// (the cost does not depend on them).
std::vector<ages::ObservedAge> rockSamples(int n)
{
    std::vector<ages::ObservedAge> samples;
    const System systems[] = { System::AHe, System::AFT, System::ZHe };
    const double agesMa[] = { 3, 6, 12 };
    for (int i = 0; i < n; ++i) {
        ages::ObservedAge sample;
        sample.line = i + 2;
        sample.sample = "R1";
        sample.system = systems[i % 3];
        sample.ageMa = agesMa[i % 3];
        sample.sigmaMa = 0.08 * sample.ageMa;
        sample.radiusUm = 45 + 4 * i; // every grain its own
        sample.uPpm = sample.system == System::ZHe ? 100 + 60 * i : 5 + 3 * i;
        sample.thPpm = 0.5 * *sample.uPpm;
        sample.dparUm = 1.5 + 0.1 * i;
        samples.push_back(sample);
    }
    return samples;
}

ages::HistoryAgeMisfit misfitOf(int sampleCount, const thermal::Resolution& resolution)
{
    const auto samples = rockSamples(sampleCount);
    return ages::HistoryAgeMisfit(thermal::ThermalParameters {}, samples,
        ages::sampleAgeKinds(samples, ages::AgeSettings {}, "bench"), resolution);
}

const thermal::ErosionHistory twoPhases { { 30, 0.1 }, { 8, 0.8 } };

void oneEvaluation(benchmark::State& state, thermal::Resolution resolution)
{
    const ages::HistoryAgeMisfit misfit = misfitOf(static_cast<int>(state.range(0)), resolution);
    for (auto _ : state)
        benchmark::DoNotOptimize(misfit(twoPhases));
    state.counters["kinds"] = static_cast<double>(misfit.kindCount());
}

// The largest relative change of any age between the resolution and the table's default, over
// histories of 20 to 100 Myr at 0.05 to 2 mm/yr with one to three phases.
void ageChange(benchmark::State& state, thermal::Resolution resolution)
{
    const ages::HistoryAgeMisfit coarse = misfitOf(9, resolution);
    const ages::HistoryAgeMisfit table = misfitOf(9, thermal::Resolution {});
    const std::vector<thermal::ErosionHistory> histories {
        { { 20, 0.3 }, { 5, 0.6 } },
        { { 30, 0.1 }, { 8, 0.8 } },
        { { 30, 0.1 }, { 8.3, 0.8 } },
        { { 30, 0.2 }, { 12.7, 0.5 } },
        { { 30, 0.05 }, { 3, 2.0 } },
        { { 40, 0.6 }, { 10, 0.1 } },
        { { 45, 0.1 }, { 2, 1.5 } },
        { { 20, 2.0 }, { 10, 0.3 } },
        { { 100, 0.05 }, { 15, 0.4 } },
        { { 60, 0.2 }, { 40, 0.05 }, { 10, 0.5 } },
        { { 50, 0.05 }, { 20, 1.0 }, { 5, 0.2 } },
        { { 25, 1.5 } },
        { { 60, 0.15 } },
    };
    double largest = 0;
    for (auto _ : state) {
        for (const auto& history : histories) {
            const auto a = coarse.predictions(history);
            const auto b = table.predictions(history);
            for (std::size_t i = 0; a && b && i < a->size(); ++i)
                largest = std::max(largest, std::abs((*a)[i].ageMa / (*b)[i].ageMa - 1));
        }
    }
    state.counters["largest_age_change"] = largest;
}

void twoPhaseGridFit(benchmark::State& state)
{
    const ages::HistoryAgeMisfit misfit
        = misfitOf(static_cast<int>(state.range(0)), ages::fitResolution);
    const ages::HistorySpace space { 2, 30, { 0.05, 2.0 }, { 1.5, 28.5 }, misfit.sampleCount() };
    ages::HistoryFit fit;
    for (auto _ : state)
        fit = ages::fitHistory(space, std::cref(misfit));
    state.counters["evaluations"] = static_cast<double>(fit.evaluations());
    state.counters["kinds"] = static_cast<double>(misfit.kindCount());
}

// The ensemble sampler evaluates only the proposals inside the prior (the others have
// likelihood 0 without a model run), so its defaults (20 walkers x 1000 steps) run fewer than
// 20 000 histories; the counter seconds_per_20000 scales the wall time to 20 000 of them.
void threePhaseSampler(benchmark::State& state)
{
    const ages::HistoryAgeMisfit misfit = misfitOf(8, ages::fitResolution);
    const ages::HistorySpace space { 3, 30, { 0.05, 2.0 }, { 1.5, 28.5 }, misfit.sampleCount() };
    ages::HistoryFit fit;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        fit = ages::fitHistory(space, std::cref(misfit));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["evaluations"] = static_cast<double>(fit.evaluations());
    state.counters["seconds_per_20000"] = seconds / static_cast<double>(state.iterations()) * 20000
        / static_cast<double>(fit.evaluations());
}

BENCHMARK_CAPTURE(oneEvaluation, fit_resolution, ages::fitResolution)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oneEvaluation, default_resolution, thermal::Resolution {})
    ->Arg(8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ageChange, fit_resolution, ages::fitResolution)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ageChange, steps_of_0_3_myr, thermal::Resolution { 1000, 0.3 })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(twoPhaseGridFit)
    ->Arg(3)
    ->Arg(8)
    ->Arg(20)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(threePhaseSampler)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
