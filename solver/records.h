#pragma once
// The records derived from the temperature field: where an isotherm lies at each time level,
// and the cooling history of the rock that reaches the surface at a chosen time.

#include "field.h"
#include "grid.h"

#include <vector>

namespace erosion {

// Linear interpolation in the table (xs[i], ys[i]), i = 0 .. count - 1: the y value at x in the
// first interval [xs[i], xs[i + 1]] that holds x, scanning from i = 0. 0 when there is no such
// interval or fewer than two points; an interval with a not-a-number end is never taken.
double interpl(const double* xs, int count, const double* ys, double x);

// The node coordinate (m) of the isotherm at temperature at each time level, 0 where it is not
// found within the model. column is scratch of nodeCount values.
void isothermDepths(const TemperatureField& field, const DepthGrid& grid, double temperature,
    std::vector<double>& column, std::vector<double>& depths);

// The temperatures (degrees Celsius) at 0, 1, ..., exposureLevel million years of the rock that
// reaches the surface at time level exposureLevel (0 <= exposureLevel < nodeCount). The rock
// rises one node per million years, so it lies at node exposureLevel - k at level k.
std::vector<double> coolingHistory(const TemperatureField& field, int exposureLevel);

} // namespace erosion
