#pragma once
// The range of times and temperatures a cooling path may span. Beyond it a path describes no
// rock that can be dated, and the age models, which step through a path in limited increments of
// time and temperature, would be asked for an endless number of steps.

#include "thermochron/coolingpath.h"

#include <optional>
#include <string>

namespace ages {

// The age of the Earth, Ma: no rock has a longer history.
inline constexpr double oldestPathMa = 4567.0;
// 0 K in C, and a temperature at which every crustal rock is molten, C.
inline constexpr double absoluteZeroC = -273.15;
inline constexpr double hottestPathC = 2000.0;

// Whether a temperature lies in the range above.
bool isDatableTemperature(double temperatureC);

// The first point of path whose temperature is outside the range (not a number included), as a
// message that says what to check; nothing when every point is within it.
std::optional<std::string> temperatureRangeError(const thermochron::CoolingPath& path);

} // namespace ages
