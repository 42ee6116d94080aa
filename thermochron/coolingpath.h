#pragma once
// A cooling path: the temperature a rock saw at each time before present. The age models read
// it oldest first; between its points the temperature varies linearly in time.

#include <vector>

namespace thermochron {

struct PathPoint {
    double timeMa; // time before present, Ma
    double temperatureC; // C
};

// Oldest first: timeMa strictly decreasing. At least two points. The last point is the time the
// rock is sampled (usually 0 Ma); every age is given on the path's own time scale.
using CoolingPath = std::vector<PathPoint>;

// The path's temperature (C) at timeMa, linear between points; the end value outside the path.
double temperatureAt(const CoolingPath& path, double timeMa);

// The same path with every segment cut into equal sub-steps, so that no step is longer than
// maxTimeStepMyr nor changes the temperature by more than maxTemperatureStepC. The given points
// are all kept. Both limits are positive.
CoolingPath refinePath(const CoolingPath& path, double maxTimeStepMyr, double maxTemperatureStepC);

} // namespace thermochron
