#include "memory.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <string>

#include <unistd.h>

namespace erosion {

namespace {

// The number of work arrays of nodeCount values besides the field: node coordinates, the
// scratch for building them, a geotherm, an isotherm's depths, one field column, the history.
constexpr double nodeArrays = 6.0;

// The share of the available memory a run may take: the rest stays for the page cache that the
// result files pass through and for whatever else the machine runs meanwhile.
constexpr double usableShare = 0.9;

// The "MemAvailable:" line of /proc/meminfo, in bytes.
std::optional<double> kernelAvailableBytes()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    double kibibytes = 0;
    std::string unit;
    while (meminfo >> key >> kibibytes >> unit) {
        if (key == "MemAvailable:")
            return kibibytes * 1024.0;
    }
    // Kernels before 3.14 have no such line: fall back on the free physical pages.
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return static_cast<double>(pages) * static_cast<double>(pageSize);
    return std::nullopt;
}

// A number from a one-line control-group file; empty for "max" (no limit) or a missing file.
std::optional<double> readCgroupValue(const char* path)
{
    std::ifstream file(path);
    std::string word;
    if (!(file >> word) || word == "max")
        return std::nullopt;
    try {
        return std::stod(word);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// What the memory control group (v2, else v1) still allows this process.
std::optional<double> cgroupRemainingBytes()
{
    for (const auto& [limitPath, usagePath] :
        { std::pair { "/sys/fs/cgroup/memory.max", "/sys/fs/cgroup/memory.current" },
            std::pair { "/sys/fs/cgroup/memory/memory.limit_in_bytes",
                "/sys/fs/cgroup/memory/memory.usage_in_bytes" } }) {
        const auto limit = readCgroupValue(limitPath);
        if (!limit)
            continue;
        const double usage = readCgroupValue(usagePath).value_or(0.0);
        return std::max(0.0, *limit - usage);
    }
    return std::nullopt;
}

} // namespace

double runMemoryBytes(double nodeCount)
{
    return sizeof(double) * (nodeCount * nodeCount + nodeArrays * nodeCount);
}

std::optional<double> availableMemoryBytes()
{
    const auto kernel = kernelAvailableBytes();
    const auto cgroup = cgroupRemainingBytes();
    if (kernel && cgroup)
        return std::min(*kernel, *cgroup);
    return kernel ? kernel : cgroup;
}

bool runFitsInMemory(double nodeCount)
{
    // Node and time indices are ints, and the field's size must be a valid object size.
    if (!(nodeCount <= INT_MAX) || !(runMemoryBytes(nodeCount) <= PTRDIFF_MAX))
        return false;
    const auto available = availableMemoryBytes();
    // Without word from the system the allocator decides (a failure is still reported).
    return !available || runMemoryBytes(nodeCount) <= usableShare * *available;
}

} // namespace erosion
