// The cost of the temperature field: the closed form value by value (transientTemp), the plain
// field against the fast one (factors computed once per node and level), the field streamed
// (computed, formatted and written to /dev/null, isotherms and history gathered) on one and on
// two threads, the formatting of its rows, and the isotherm search by gathered columns against
// the search by row pairs. Grids of 501 and 1001 nodes (0.1 and 0.05 mm/yr, default depth).

#include "fastfield.h"
#include "field.h"
#include "fieldstream.h"
#include "grid.h"
#include "isothermsearch.h"
#include "model.h"
#include "numberformat.h"
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
        p.setErosionRate(
            p.maxDepth / static_cast<double>(nodes - 1) / units::metresPerMyrPerMmPerYear);
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

// Streamed: computed, formatted and written (with the isotherms and the history gathered) on
// state.range(1) threads.
void BM_FieldStreamed(benchmark::State& state)
{
    const Run run(state.range(0));
    FieldStream stream(run.p, run.grid, static_cast<int>(state.range(1)));
    for (auto _ : state) {
        wholefile::ReplacementGroup pending; // /dev/null is written in place: nothing pends
        ResultFile out(pending);
        stream.computeAndWrite(out, "/dev/null");
        out.close();
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

// The same isotherm searched row pair by row pair, as the stream does.
void BM_IsothermRowPairs(benchmark::State& state)
{
    const Run run(state.range(0));
    const int n = run.grid.nodeCount();
    TemperatureField field(n);
    computeField(run.p, run.grid, field);
    IsothermSearch search(350.0, n);
    for (auto _ : state) {
        search.restart();
        for (int node = 0; node + 1 < n && search.openLevels() > 0; ++node)
            search.searchInterval(field.row(node), field.row(node + 1), run.grid.nodeZ[node],
                run.grid.nodeZ[node + 1]);
        benchmark::DoNotOptimize(search.depths().data());
    }
}

} // namespace

BENCHMARK(BM_TransientTemp)->Arg(1001);
BENCHMARK(BM_FieldPlain)->Arg(501)->Arg(1001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldFactorsOnce)->Arg(501)->Arg(1001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldStreamed)
    ->Args({ 1001, 1 })
    ->Args({ 1001, 2 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FieldFormatted)->Arg(1001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsothermColumns)->Arg(1001)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsothermRowPairs)->Arg(1001)->Unit(benchmark::kMillisecond);
