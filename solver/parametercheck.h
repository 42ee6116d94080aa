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

// What the closed form itself asks of the exposure time of a dated rock (Myr after erosion began,
// the -o of the programs): a time at which it can be evaluated, finite in seconds and 0 or more
// (at 0 the rock has seen only the initial geotherm). The half-space has no base, so no depth or
// grid limits the time; a grid adds its own bound (checkHistoryTime), and a user of the closed
// form alone (cooling_ages) adds only the limits of what it does with the path.
std::optional<std::string> exposureTimeError(const RunParameters& p, double exposureMyr);

// The cooling history follows the rock that reaches the surface at historyTime back to the
// start, so beyond exposureTimeError that rock must have started inside the grid:
// 0 <= historyTime <= nodeCount - 1, one message for the whole range.
std::optional<std::string> checkHistoryTime(const RunParameters& p, int nodeCount);

// The message for a grid too large to allocate.
constexpr const char* heapErrorMessage = "Heap Allocation Error";

} // namespace erosion
