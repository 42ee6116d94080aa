#include "field.h"

#include "model.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace erosion {

namespace {

// Fine fields take hundreds of megabytes: on huge pages (2 MiB, where the system offers them on
// request) they cost a five-hundredth of the page faults and far fewer address translations.
constexpr std::size_t hugePageBytes = std::size_t { 2 } << 20;

double* allocateValues(std::size_t count)
{
    if (count > (SIZE_MAX - hugePageBytes) / sizeof(double))
        throw std::bad_alloc();
    // aligned_alloc wants a multiple of the alignment.
    const std::size_t bytes
        = (count * sizeof(double) + hugePageBytes - 1) / hugePageBytes * hugePageBytes;
    void* memory = std::aligned_alloc(hugePageBytes, std::max(bytes, hugePageBytes));
    if (!memory)
        throw std::bad_alloc();
    // Only advice: where huge pages are not to be had, ordinary pages serve.
    madvise(memory, bytes, MADV_HUGEPAGE);
    return static_cast<double*>(memory);
}

} // namespace

TemperatureField::TemperatureField(int nodeCount)
    : m_nodeCount(nodeCount)
    , m_values(
          allocateValues(static_cast<std::size_t>(nodeCount) * static_cast<std::size_t>(nodeCount)))
{
}

void TemperatureField::Release::operator()(double* values) const
{
    std::free(values);
}

void computeField(const RunParameters& p, const DepthGrid& grid, TemperatureField& field)
{
    const int nodeCount = grid.nodeCount();
    // Node by node, so that each node's time levels are written one after the other in memory.
    for (int node = 0; node < nodeCount; ++node) {
        const double z = grid.nodeZ[node];
        std::span<double> levels = field.row(node);
        for (int level = 0; level < nodeCount; ++level)
            levels[level] = transientTemp(p, z, timeOfLevel(level));
    }
}

} // namespace erosion
