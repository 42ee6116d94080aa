#pragma once
// Refusal of run parameters with which the model cannot be evaluated: each check gives the
// one-line message for standard error (without the "ERROR: " that the program writes before it),
// or nothing when the values are usable.

#include "runparameters.h"

#include <optional>
#include <string>

namespace erosion {

// The values that must hold before the grid is built: a positive, finite erosion rate, model
// depth and diffusivity, and geotherm times that are not negative (a time before the start of
// erosion has no temperature). The first value out of range is named, quoted as the user typed
// it.
std::optional<std::string> checkParameters(const RunParameters& p);

// The grid must hold the surface node and one below it: a depth negligible beside the node
// spacing (below the floating-point resolution of it) leaves a single node.
std::optional<std::string> checkGrid(const RunParameters& p, int nodeCount);

// The cooling history follows the rock that reaches the surface at historyTime back to the
// start, so that rock must have started inside the model: 0 <= historyTime <= nodeCount - 1.
std::optional<std::string> checkHistoryTime(const RunParameters& p, int nodeCount);

// The message for a grid too large to allocate.
constexpr const char* heapErrorMessage = "Heap Allocation Error";

} // namespace erosion
