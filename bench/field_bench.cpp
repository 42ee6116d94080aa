// The cost of the temperature field: the closed form value by value (transientTemp), the plain
// field against the fast one (factors computed once per node and level), the fast field computed,
// formatted and written (to /dev/null) on one and on two threads, and the isotherm search by
// gathered columns against the pass in storage order. Grids of 501 and 1001 nodes (0.1 and
// 0.05 mm/yr with the default depth).

#include "fastfield.h"
#include "field.h"
#include "fieldwriter.h"
#include "grid.h"
#include "isothermscan.h"
#include "model.h"
#include "numberformat.h"
#include "progressline.h"
#include "records.h"
#include "resultfile.h"
#include "runparameters.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

using namespace erosion;

struct Run {
    explicit Run(std::int64_t nodes)
    {
        // maxDepth / (nodes - 1) metres per node: the rate that gives this many nodes.
        p.setErosionRate(p.maxDepth / static_cast<double>(nodes - 1) / metresPerMyrPerMmPerYr);
        grid = buildGrid(p.maxDepth, nodeSpacingFor(p.erosionRate));
    }
    std::int64_t values() const
    {
        return static_cast<std::int64_t>(grid.nodeCount()) * grid.nodeCount();
    }

    RunParameters p;
    DepthGrid grid;
};

void BM_TransientTemp(benchmark::State& state)
{
    const Run run(state.range(0));
    const int n = run.grid.nodeCount();
    for (auto _ : state) {
        for (int node = 0; node < n; node += 16)
            for (int level = 0; level < n; ++level)
                benchmark::DoNotOptimize(
                    transientTemp(run.p, run.grid.nodeZ[node], timeOfLevel(level)));
    }
    state.SetItemsProcessed(state.iterations() * ((n + 15) / 16) * n);
}

void BM_FieldPlain(benchmark::State& state)
{
    const Run run(state.range(0));
    TemperatureField field(run.grid.nodeCount());
    for (auto _ : state) {
        computeField(run.p, run.grid, field);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * run.values());
}

void BM_FieldFactorsOnce(benchmark::State& state)
{
    const Run run(state.range(0));
    const int n = run.grid.nodeCount();
    TemperatureField field(n);
    for (auto _ : state) {
        computeFieldRows(LevelFactors(run.p, n), run.grid, field, 0, n);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * run.values());
}

// Computed, formatted and written on state.range(1) threads.
void BM_FieldComputedAndWritten(benchmark::State& state)
{
    const Run run(state.range(0));
    const int n = run.grid.nodeCount();
    TemperatureField field(n);
    ProgressLine silent;
    for (auto _ : state) {
        ResultFile out;
        computeAndWriteField(out, "/dev/null", LevelFactors(run.p, n), run.grid, field,
            static_cast<int>(state.range(1)), silent);
    }
    state.SetItemsProcessed(state.iterations() * run.values());
}

// The field's text, row by row as file 5 holds it, from a computed field: the formatter on the
// values it meets in practice.
void BM_FieldFormatted(benchmark::State& state)
{
    const Run run(state.range(0));
    const int n = run.grid.nodeCount();
    TemperatureField field(n);
    computeField(run.p, run.grid, field);
    std::vector<char> text(static_cast<std::size_t>(n) * (1 + maxNumberLength) + 1);
    for (auto _ : state) {
        for (int node = 0; node < n; ++node) {
            char* end = formatSpacedNumbers(field.row(node), text.data());
            benchmark::DoNotOptimize(end);
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * run.values());
}

void BM_IsothermColumns(benchmark::State& state)
{
    const Run run(state.range(0));
    const int n = run.grid.nodeCount();
    TemperatureField field(n);
    computeField(run.p, run.grid, field);
    std::vector<double> column, depths;
    for (auto _ : state) {
        isothermDepths(field, run.grid, 350.0, column, depths);
        benchmark::DoNotOptimize(depths.data());
    }
}

void BM_IsothermRows(benchmark::State& state)
{
    const Run run(state.range(0));
    const int n = run.grid.nodeCount();
    TemperatureField field(n);
    computeField(run.p, run.grid, field);
    std::vector<double> depths(static_cast<std::size_t>(n));
    for (auto _ : state) {
        isothermDepthsByRows(field, run.grid, 350.0, depths, static_cast<int>(state.range(1)));
        benchmark::DoNotOptimize(depths.data());
    }
}

} // namespace

BENCHMARK(BM_TransientTemp)->Arg(1001);
BENCHMARK(BM_FieldPlain)->Arg(501)->Arg(1001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldFactorsOnce)->Arg(501)->Arg(1001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldComputedAndWritten)
    ->Args({ 1001, 1 })
    ->Args({ 1001, 2 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FieldFormatted)->Arg(1001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsothermColumns)->Arg(1001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsothermRows)
    ->Args({ 1001, 1 })
    ->Args({ 1001, 2 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
