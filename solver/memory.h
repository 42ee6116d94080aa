#pragma once
// How much memory a run needs and how much the machine can give it. The solver checks the one
// against the other before allocating, because on a system that overcommits memory a field too
// large for the machine is not refused by the allocator: the process is killed while filling it.

#include <cstdint>
#include <optional>

namespace erosion {

// Bytes of the arrays of a run with nodeCount nodes: the temperature field (nodeCount^2
// values), the node coordinates and the working arrays of the derived records, and the cooling
// history. A double, so that absurd counts cannot overflow.
double runMemoryBytes(double nodeCount);

// The memory this process can still take without pushing the machine into swap or its memory
// limit: the kernel's estimate of available memory, lowered to the control group's remaining
// allowance where there is one. Empty when the system tells nothing.
std::optional<double> availableMemoryBytes();

// Whether a run with nodeCount nodes fits in nine tenths of the available memory and its
// indices fit in an int.
bool runFitsInMemory(double nodeCount);

} // namespace erosion
