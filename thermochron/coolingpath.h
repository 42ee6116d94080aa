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

// Throws std::invalid_argument, naming the fault, unless the path has at least two points, all
// finite, with strictly decreasing times. Every age function checks its path so.
void checkPath(const CoolingPath& path);

// The path's temperature (C) at timeMa, linear between points; the end value outside the path.
double temperatureAt(const CoolingPath& path, double timeMa);

// The path's temperature at a kinetic age, its effective closure temperature; NaN for an age
// older than the path's start, which dates no point of the path.
double closureTemperatureAt(const CoolingPath& path, double ageMa);

// The time steps a kinetic model takes along the path: no step is longer than maxTimeStepMyr,
// nor does the temperature within it stray by more than maxTemperatureStepC from its start.
// Points of a path finer than that are merged into one step; a segment too long or too steep
// is cut into equal sub-steps. The first and last points are kept. Both limits are positive.
CoolingPath timeSteps(const CoolingPath& path, double maxTimeStepMyr, double maxTemperatureStepC);

// Steps (from timeSteps) cut finer towards the path's end, for the annealing models: whatever is
// born at a time tau Myr before the end has annealed for tau, and annealing goes with ln tau, so
// equal steps of ln tau resolve it evenly. The youngest step is youngestStepMyr long and each
// older one at most ageFraction times the time from its young end to the path's end, until the
// given steps are finer. Temperatures are interpolated within the step cut. youngestStepMyr > 0,
// ageFraction > 0.
CoolingPath refinedTowardsEnd(const CoolingPath& steps, double youngestStepMyr, double ageFraction);

} // namespace thermochron
