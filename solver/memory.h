#pragma once
// How much memory a run needs and how much this process can have. The solver checks the one
// against the other before allocating, because on a system that overcommits memory a run too
// large for the machine is not refused by the allocator: the process is killed while filling it.
//
// What the process can have is the least of three limits: the memory the kernel reports as
// available, what the process's own memory control group (v1 or v2) still allows, and the
// address space left under RLIMIT_AS. The readings come from text the system provides, so each
// is parsed by a function of its own that tests feed with text.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace erosion {

// Bytes a run needs: what it touches (resident) and what it maps (address space: the resident
// part plus the stacks of its threads, which are reserved whole but touched little).
struct MemoryNeed {
    double resident = 0;
    double address = 0;
};

// The address space a new thread's stack reserves.
double threadStackBytes();

// Bytes of the arrays of a plain run with nodeCount nodes: the temperature field (nodeCount^2
// values), the node coordinates and the working arrays of the derived records, and the cooling
// history. A double, so that absurd counts cannot overflow.
double runMemoryBytes(double nodeCount);

// The memory limits of this process, each empty where the system sets none or tells nothing.
struct MemoryReadings {
    std::optional<double> available; // the kernel's MemAvailable
    std::optional<double> cgroupRemaining; // the memory control group's limit less its usage
    std::optional<double> addressSpaceRemaining; // RLIMIT_AS less the address space in use
};

// The readings of this process now.
MemoryReadings readMemoryReadings();

// Whether need fits: its resident part in nine tenths of the least of the available memory and
// the control group's allowance (the rest stays for the page cache the result files pass
// through), its address space under RLIMIT_AS.
bool fitsInMemory(const MemoryNeed& need, const MemoryReadings& readings);

// Whether a plain run with nodeCount nodes fits in this process's memory now and its indices fit
// in an int.
bool runFitsInMemory(double nodeCount);

// Parsers of the system's texts, in bytes.
// "MemAvailable:" of /proc/meminfo.
std::optional<double> parseMemAvailable(std::string_view meminfo);
// "VmSize:" of /proc/self/status: the address space in use.
std::optional<double> parseVmSize(std::string_view status);

// Reads a whole file of the system; empty when it cannot be read.
using SystemFileReader = std::function<std::optional<std::string>(const std::string& path)>;

// What the memory control group of the process whose /proc/self/cgroup is procSelfCgroup still
// allows: for its own group and each group above it that sets a limit (v2 memory.max, v1
// memory.limit_in_bytes under /sys/fs/cgroup), the limit less the group's usage (less its
// inactive page cache, which the kernel reclaims first); the least of these. Empty when no
// group sets a limit.
std::optional<double> cgroupRemainingBytes(
    std::string_view procSelfCgroup, const SystemFileReader& read);

} // namespace erosion
