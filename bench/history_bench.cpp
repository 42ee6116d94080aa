// The history fits' own cost, apart from the model behind the misfit: each fit run on a misfit
// that costs next to nothing (a quadratic bowl), with its default settings. Divided by the
// evaluations counter, the time is the engine's overhead per history; a real misfit (a thermal
// model and kinetic ages, a few ms) adds its own cost times the evaluations over the cores.

#include "historyfiles.h"
#include "historyfit.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <sstream>

namespace {

// Every phase wants 0.4 mm/yr more than the one before, every change time 4 Ma less than the one
// before, starting at 12 Ma.
double bowl(const ages::ErosionHistory& history)
{
    double chi2 = 2;
    for (std::size_t k = 0; k < history.size(); ++k) {
        chi2 += std::pow((history[k].rateMmYr - 0.2 - 0.4 * k) / 0.03, 2);
        if (k > 0)
            chi2 += std::pow((history[k].startMa - 16 + 4.0 * k) / 1.5, 2);
    }
    return chi2;
}

void fitBowl(benchmark::State& state, int phases)
{
    const ages::HistorySpace space { phases, 20, { 0.05, 2.0 }, { 1, 19 }, 12 };
    ages::HistoryFit fit;
    for (auto _ : state) {
        fit = ages::fitHistory(space, bowl);
        benchmark::DoNotOptimize(fit.best);
    }
    state.counters["evaluations"] = static_cast<double>(fit.evaluations());
    // Seconds per history tried (shown with an SI prefix: u for microseconds).
    state.counters["time_per_evaluation"] = benchmark::Counter(
        static_cast<double>(fit.evaluations()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["chi2_min"] = fit.level.chi2Min;
    if (fit.posterior)
        state.counters["acceptance"] = fit.posterior->chain.acceptanceFraction();
}

// The tables of a three-phase sampler run: every history tried and the posterior.
void writeSamplerTables(benchmark::State& state)
{
    const ages::HistorySpace space { 3, 20, { 0.05, 2.0 }, { 1, 19 }, 12 };
    const ages::HistoryFit fit = ages::fitHistory(space, bowl);
    for (auto _ : state) {
        std::ostringstream fitTable, posteriorTable;
        ages::writeHistoryFitTable(fitTable, fit);
        ages::writeHistoryPosteriorTable(posteriorTable, fit);
        benchmark::DoNotOptimize(fitTable.str().size() + posteriorTable.str().size());
    }
    state.counters["rows"] = static_cast<double>(fit.tried.size());
}

BENCHMARK_CAPTURE(fitBowl, one_phase_sweep, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(fitBowl, two_phase_grid, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(fitBowl, three_phase_sampler, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(writeSamplerTables)->Unit(benchmark::kMillisecond);

} // namespace
