#include "isothermscan.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

namespace erosion {

namespace {

// Time levels [firstLevel, endLevel): one pass down the rows. found holds a flag per level of
// the whole field.
void scanLevels(const TemperatureField& field, const DepthGrid& grid, double x,
    std::span<double> depths, std::span<std::uint8_t> found, int firstLevel, int endLevel)
{
    std::fill(depths.begin() + firstLevel, depths.begin() + endLevel, 0.0);
    std::fill(found.begin() + firstLevel, found.begin() + endLevel, 0);
    int pending = endLevel - firstLevel;
    for (int node = 0; node + 1 < field.nodeCount() && pending > 0; ++node) {
        const double* upper = field.row(node).data();
        const double* lower = field.row(node + 1).data();
        const double zUpper = grid.nodeZ[static_cast<std::size_t>(node)];
        const double zLower = grid.nodeZ[static_cast<std::size_t>(node) + 1];
        for (int level = firstLevel; level < endLevel; ++level) {
            // interpl's test: the interval [x_i, x_{i+1}] holds x (never with a NaN end).
            if (found[level] || !(x >= upper[level] && lower[level] >= x))
                continue;
            // interpl: y = y_i + (x - x_i) (y_{i+1} - y_i) / (x_{i+1} - x_i)
            depths[level]
                = zUpper + (x - upper[level]) * ((zLower - zUpper) / (lower[level] - upper[level]));
            found[level] = 1;
            --pending;
        }
    }
}

} // namespace

void isothermDepthsByRows(const TemperatureField& field, const DepthGrid& grid, double temperature,
    std::span<double> depths, int threads)
{
    const int levelCount = static_cast<int>(depths.size());
    threads = std::clamp(threads, 1, std::max(levelCount, 1));
    // Contiguous shares of the time levels, one per thread.
    auto shareStart = [&](int share) {
        return static_cast<int>(static_cast<long long>(levelCount) * share / threads);
    };
    // Allocated before a thread starts, so that a shortage ends the run cleanly.
    std::vector<std::uint8_t> found(depths.size());
    std::vector<std::jthread> helpers;
    helpers.reserve(static_cast<std::size_t>(threads));

    int share = 1;
    for (; share < threads; ++share) {
        try {
            helpers.emplace_back(scanLevels, std::cref(field), std::cref(grid), temperature, depths,
                std::span(found), shareStart(share), shareStart(share + 1));
        } catch (const std::system_error&) {
            break; // no more threads to be had: this one takes the shares left
        }
    }
    scanLevels(field, grid, temperature, depths, found, 0, shareStart(1));
    if (share < threads)
        scanLevels(field, grid, temperature, depths, found, shareStart(share), levelCount);
    for (std::jthread& helper : helpers)
        helper.join();
}

} // namespace erosion
