#pragma once
// A finely sampled cooling path with the points dropped that a straight line through their
// neighbours already gives to within a tolerance.
//
// The models' paths are evaluated at 0.01 Myr steps so that nothing between the samples is
// missed, but along most of a path the temperature is a smooth curve that far fewer straight
// pieces follow as closely as any kinetic model can tell. The kinetic models cut every segment
// into their own steps (and fission-track annealing walks every later step for each cohort), so
// handing them the redundant points costs time and gains nothing.

#include "thermochron/coolingpath.h"

namespace ages {

// The temperature tolerance (C) of the paths given to the kinetic models: far below what any
// diffusion or annealing kinetics resolves.
inline constexpr double kineticPathToleranceC = 0.01;

// The path through a subset of its points (the first and last always kept) such that every
// dropped point lies within toleranceC (> 0) of the straight line, in time and temperature,
// between the kept points around it (Douglas-Peucker in temperature).
thermochron::CoolingPath simplifiedPath(const thermochron::CoolingPath& path, double toleranceC);

} // namespace ages
