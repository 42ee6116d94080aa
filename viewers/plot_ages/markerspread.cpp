#include "markerspread.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace {

// Columns taken in turn by markers ranked by value: neighbours two or more columns apart.
constexpr std::array<int, 5> columnPattern { 0, 2, -2, 1, -1 };

} // namespace

std::vector<int> jitterOffsets(const std::vector<double>& values, int columnWidth)
{
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t { 0 });
    // Equal values keep the order they came in, so the offsets never depend on the sort.
    std::ranges::stable_sort(order, {}, [&values](std::size_t i) { return values[i]; });
    std::vector<int> offsets(values.size());
    for (std::size_t rank = 0; rank < order.size(); ++rank)
        offsets[order[rank]] = columnPattern[rank % columnPattern.size()] * columnWidth;
    return offsets;
}

double dodgeOffset(std::size_t index, std::size_t count, double step)
{
    return (static_cast<double>(index) - (static_cast<double>(count) - 1.0) / 2.0) * step;
}
