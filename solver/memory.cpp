#include "memory.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <sstream>

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace erosion {

namespace {

// The number of work arrays of nodeCount values besides the field: node coordinates, the
// scratch for building them, a geotherm, an isotherm's depths, one field column, the history.
constexpr double nodeArrays = 6.0;

// The share of the available memory a run may take: the rest stays for the page cache that the
// result files pass through and for whatever else the machine runs meanwhile.
constexpr double usableShare = 0.9;

constexpr double bytesPerKibibyte = 1024.0;

// A v1 limit this large (the largest page-aligned 64-bit value) means "no limit".
constexpr double unlimitedV1 = 9.0e18;

std::optional<std::string> readSystemFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The number after key (at the start of a line) in a "key value [unit]" text.
std::optional<double> valueAfterKey(std::string_view text, std::string_view key)
{
    std::istringstream lines { std::string(text) };
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::istringstream rest(line.substr(key.size()));
        double value = 0;
        if (rest >> value)
            return value;
    }
    return std::nullopt;
}

// A number alone in a control-group file; empty for "max" (no limit) or anything else.
std::optional<double> singleValue(const std::optional<std::string>& text)
{
    if (!text)
        return std::nullopt;
    std::istringstream in(*text);
    double value = 0;
    if (in >> value)
        return value;
    return std::nullopt;
}

// The group's path and the files that hold its limit, usage and statistics, v2 or v1.
struct CgroupFiles {
    const char* mount; // where the hierarchy is mounted
    std::string path; // the group, from the hierarchy's root: "/" or "/a/b"
    const char* limit;
    const char* usage;
    const char* inactiveCacheKey;
};

std::optional<CgroupFiles> memoryGroupOf(std::string_view procSelfCgroup)
{
    // Lines "id:controllers:path": v2 has the single line "0::path", v1 one line per hierarchy,
    // of which the one whose controllers include "memory" counts.
    std::optional<CgroupFiles> v2;
    std::istringstream lines { std::string(procSelfCgroup) };
    for (std::string line; std::getline(lines, line);) {
        const auto first = line.find(':');
        const auto second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string path = line.substr(second + 1);
        std::istringstream names(controllers);
        for (std::string name; std::getline(names, name, ',');) {
            if (name == "memory")
                return CgroupFiles { "/sys/fs/cgroup/memory", path, "memory.limit_in_bytes",
                    "memory.usage_in_bytes", "total_inactive_file " };
        }
        if (controllers.empty() && line.compare(0, first, "0") == 0)
            v2 = CgroupFiles { "/sys/fs/cgroup", path, "memory.max", "memory.current",
                "inactive_file " };
    }
    return v2;
}

// "/a/b" -> "/a" -> "/".
std::string parentGroup(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace

double threadStackBytes()
{
    // 8 MiB, the usual default, where the library does not say.
    double bytes = 8.0 * 1024 * 1024;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) == 0) {
        std::size_t size = 0;
        if (pthread_attr_getstacksize(&attributes, &size) == 0 && size > 0)
            bytes = static_cast<double>(size);
        pthread_attr_destroy(&attributes);
    }
    return bytes;
}

double runMemoryBytes(double nodeCount)
{
    return sizeof(double) * (nodeCount * nodeCount + nodeArrays * nodeCount);
}

std::optional<double> parseMemAvailable(std::string_view meminfo)
{
    const auto kibibytes = valueAfterKey(meminfo, "MemAvailable:");
    return kibibytes ? std::optional(*kibibytes * bytesPerKibibyte) : std::nullopt;
}

std::optional<double> parseVmSize(std::string_view status)
{
    const auto kibibytes = valueAfterKey(status, "VmSize:");
    return kibibytes ? std::optional(*kibibytes * bytesPerKibibyte) : std::nullopt;
}

std::optional<double> cgroupRemainingBytes(
    std::string_view procSelfCgroup, const SystemFileReader& read)
{
    const auto group = memoryGroupOf(procSelfCgroup);
    if (!group)
        return std::nullopt;
    // From the process's own group up to the root of the hierarchy: a limit anywhere above
    // binds the groups below it too.
    std::optional<double> least;
    for (std::string path = group->path;; path = parentGroup(path)) {
        const std::string directory
            = std::string(group->mount) + (path == "/" ? std::string() : path);
        const auto limit = singleValue(read(directory + "/" + group->limit));
        if (limit && *limit < unlimitedV1) {
            const double usage = singleValue(read(directory + "/" + group->usage)).value_or(0.0);
            const auto stat = read(directory + "/memory.stat");
            const double inactiveCache
                = stat ? valueAfterKey(*stat, group->inactiveCacheKey).value_or(0.0) : 0.0;
            const double remaining = std::max(0.0, *limit - std::max(0.0, usage - inactiveCache));
            least = least ? std::min(*least, remaining) : remaining;
        }
        if (path == "/" || path.empty())
            break;
    }
    return least;
}

MemoryReadings readMemoryReadings()
{
    MemoryReadings readings;
    if (const auto meminfo = readSystemFile("/proc/meminfo"))
        readings.available = parseMemAvailable(*meminfo);
    if (!readings.available) {
        // Kernels before 3.14 have no such line: fall back on the free physical pages.
        const long pages = sysconf(_SC_AVPHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGESIZE);
        if (pages > 0 && pageSize > 0)
            readings.available = static_cast<double>(pages) * static_cast<double>(pageSize);
    }
    if (const auto cgroup = readSystemFile("/proc/self/cgroup"))
        readings.cgroupRemaining = cgroupRemainingBytes(*cgroup, readSystemFile);
    rlimit addressLimit {};
    if (getrlimit(RLIMIT_AS, &addressLimit) == 0 && addressLimit.rlim_cur != RLIM_INFINITY) {
        const auto status = readSystemFile("/proc/self/status");
        const double inUse = status ? parseVmSize(*status).value_or(0.0) : 0.0;
        readings.addressSpaceRemaining
            = std::max(0.0, static_cast<double>(addressLimit.rlim_cur) - inUse);
    }
    return readings;
}

bool fitsInMemory(const MemoryNeed& need, const MemoryReadings& readings)
{
    // Without word from the system the allocator decides (a failure is still reported).
    std::optional<double> memory = readings.available;
    if (readings.cgroupRemaining)
        memory = memory ? std::min(*memory, *readings.cgroupRemaining) : readings.cgroupRemaining;
    if (memory && !(need.resident <= usableShare * *memory))
        return false;
    return !readings.addressSpaceRemaining || need.address <= *readings.addressSpaceRemaining;
}

bool runFitsInMemory(double nodeCount)
{
    // Node and time indices are ints, and the field's size must be a valid object size.
    if (!(nodeCount <= INT_MAX) || !(runMemoryBytes(nodeCount) <= PTRDIFF_MAX))
        return false;
    const double bytes = runMemoryBytes(nodeCount);
    return fitsInMemory({ bytes, bytes }, readMemoryReadings());
}

} // namespace erosion
