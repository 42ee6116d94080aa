// The cost of writing one number of the solver's files: the fast formatter against the C
// library's snprintf and against std::to_chars's exact scientific form (the building block of the
// other exact approach, which would still have to rewrite its text into the %g layout).

#include "numberformat.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr std::size_t sampleSize = 4096;

// Temperatures as a fine field holds them: 0 to about 1300 degrees with all their digits.
std::vector<double> fieldTemperatures()
{
    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> temperature(0.0, 1300.0);
    std::vector<double> values(sampleSize);
    for (double& value : values)
        value = temperature(random);
    return values;
}

// Node coordinates of a 10 m grid down to 50 km: whole numbers, mostly in exponent notation.
std::vector<double> nodeCoordinates()
{
    std::vector<double> values(sampleSize);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = -10.0 * static_cast<double>(i * 5000 / sampleSize);
    return values;
}

// Magnitudes spread evenly over 1e-25 .. 1e30, both signs.
std::vector<double> wideMagnitudes()
{
    std::mt19937_64 random(2);
    std::uniform_real_distribution<double> decades(-25.0, 30.0);
    std::vector<double> values(sampleSize);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = (i % 2 == 0 ? 1.0 : -1.0) * std::pow(10.0, decades(random));
    return values;
}

// Uniform bit patterns: nearly all far outside the fast routine's range.
std::vector<double> anyDoubles()
{
    std::mt19937_64 random(3);
    std::vector<double> values(sampleSize);
    for (double& value : values)
        value = std::bit_cast<double>(random());
    return values;
}

template <class Format>
void formatAll(benchmark::State& state, const std::vector<double>& values, Format format)
{
    char text[erosion::maxNumberLength + 16];
    for (auto _ : state) {
        for (const double value : values) {
            char* end = format(value, text);
            benchmark::DoNotOptimize(end);
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

char* fast(double value, char* out)
{
    return erosion::formatNumber(value, out);
}
char* plain(double value, char* out)
{
    return erosion::formatNumberPlain(value, out);
}
char* toChars(double value, char* out)
{
    return std::to_chars(
        out, out + erosion::maxNumberLength, value, std::chars_format::scientific, 3)
        .ptr;
}

void BM_FormatNumber_FieldTemperatures(benchmark::State& s)
{
    formatAll(s, fieldTemperatures(), fast);
}
void BM_Snprintf_FieldTemperatures(benchmark::State& s)
{
    formatAll(s, fieldTemperatures(), plain);
}
void BM_ToChars_FieldTemperatures(benchmark::State& s)
{
    formatAll(s, fieldTemperatures(), toChars);
}
void BM_FormatNumber_NodeCoordinates(benchmark::State& s)
{
    formatAll(s, nodeCoordinates(), fast);
}
void BM_Snprintf_NodeCoordinates(benchmark::State& s)
{
    formatAll(s, nodeCoordinates(), plain);
}
void BM_FormatNumber_WideMagnitudes(benchmark::State& s)
{
    formatAll(s, wideMagnitudes(), fast);
}
void BM_Snprintf_WideMagnitudes(benchmark::State& s)
{
    formatAll(s, wideMagnitudes(), plain);
}
void BM_FormatNumber_AnyDoubles(benchmark::State& s)
{
    formatAll(s, anyDoubles(), fast);
}
void BM_Snprintf_AnyDoubles(benchmark::State& s)
{
    formatAll(s, anyDoubles(), plain);
}

} // namespace

BENCHMARK(BM_FormatNumber_FieldTemperatures);
BENCHMARK(BM_Snprintf_FieldTemperatures);
BENCHMARK(BM_ToChars_FieldTemperatures);
BENCHMARK(BM_FormatNumber_NodeCoordinates);
BENCHMARK(BM_Snprintf_NodeCoordinates);
BENCHMARK(BM_FormatNumber_WideMagnitudes);
BENCHMARK(BM_Snprintf_WideMagnitudes);
BENCHMARK(BM_FormatNumber_AnyDoubles);
BENCHMARK(BM_Snprintf_AnyDoubles);
