#pragma once
// The range of times and temperatures a cooling path may span. Beyond it a path describes no
// rock that can be dated, and the age models, which step through a path in limited increments of
// time and temperature, would be asked for an endless number of steps.

#include "thermochron/coolingpath.h"

#include <optional>
#include <string>
#include <string_view>

namespace ages {

// The age of the Earth, Ma: no rock has a longer history.
inline constexpr double oldestPathMa = 4567.0;
// 0 K in C, and a temperature at which every crustal rock is molten, C.
inline constexpr double absoluteZeroC = -273.15;
inline constexpr double hottestPathC = 2000.0;

// Whether a temperature lies in the range above.
bool isDatableTemperature(double temperatureC);

// The first point of path whose temperature is outside the range (not a number included).
std::optional<thermochron::PathPoint> undatablePoint(const thermochron::CoolingPath& path);

// "the cooling path reaches T C at t Ma, outside -273.15 to 2000 C; " followed by fix.
std::string temperatureRangeMessage(const thermochron::PathPoint& point, std::string_view fix);

// The first undatable point of path as a message that says what to check (the model's
// temperatures); nothing when every point is within the range.
std::optional<std::string> temperatureRangeError(const thermochron::CoolingPath& path);

} // namespace ages
