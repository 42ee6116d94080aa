// The fits of a vertical profile with the geotherm fitted, as `cooling_ages history` runs them:
// 25 AHe grains from 445 to 2142 m (the heights of a published ridge profile; ages made by the
// model itself under 30:0.06,6:0.25, the cost does not depend on them), each at its own height
// (a path per distinct height from one column run per history and base).
//
// - one evaluation: the column run and 25 paths and ages;
// - one phase with --fit-base: the grid of 100 rates x 7 bases (target: under 1 s);
// - two phases with --fit-base: the grid of 12 change times x 8 first rates x 3 bases with inner
//   minimisations and the simplex (target: under 10 s).

#include "agekind.h"
#include "historyfit.h"
#include "historymisfit.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

namespace {

constexpr int profileSamples = 25;
constexpr double lowestM = 445, highestM = 2142, meanElevationM = 1300;

struct Profile {
    std::vector<ages::ObservedAge> samples;
    ages::HistoryPlacement placement;
};

Profile ridgeProfile()
{
    Profile profile;
    for (int i = 0; i < profileSamples; ++i) {
        ages::ObservedAge sample;
        sample.line = i + 2;
        sample.sample = "R";
        sample.sample += std::to_string(i + 1);
        sample.system = thermochron::System::AHe;
        sample.elevationM = lowestM + (highestM - lowestM) * i / (profileSamples - 1);
        sample.ageMa = 5 + 6.0 * i / (profileSamples - 1);
        sample.sigmaMa = 0.06 * sample.ageMa;
        profile.samples.push_back(sample);
        profile.placement.presentDepthsM.push_back(meanElevationM - *sample.elevationM);
    }
    return profile;
}

ages::HistoryAgeMisfit profileMisfit()
{
    const Profile profile = ridgeProfile();
    return ages::HistoryAgeMisfit(thermal::ThermalParameters {}, profile.samples,
        ages::sampleAgeKinds(profile.samples, ages::AgeSettings {}, "bench"), ages::fitResolution,
        profile.placement);
}

void oneEvaluation(benchmark::State& state)
{
    const ages::HistoryAgeMisfit misfit = profileMisfit();
    const thermal::ErosionHistory history { { 30, 0.06 }, { 6, 0.25 } };
    for (auto _ : state)
        benchmark::DoNotOptimize(misfit(history, 1100.0));
    state.counters["paths"] = static_cast<double>(misfit.pathCount());
}

void fitWithBase(benchmark::State& state)
{
    const ages::HistoryAgeMisfit misfit = profileMisfit();
    ages::HistorySpace space { static_cast<int>(state.range(0)), 30, { 0.02, 1.0 }, { 1.5, 28.5 },
        misfit.dataCount() };
    space.other = ages::ValueBounds { 600, 1800 };
    ages::HistoryFit fit;
    for (auto _ : state)
        fit = ages::fitHistory(space, std::cref(misfit));
    state.counters["evaluations"] = static_cast<double>(fit.evaluations());
    state.counters["best_base_c"] = fit.best.back();
}

BENCHMARK(oneEvaluation)->Unit(benchmark::kMillisecond);
BENCHMARK(fitWithBase)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
