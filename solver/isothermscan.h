#pragma once
// Isotherm depths in one pass over the field, in the order the field is stored.
//
// The plain way gathers each time level's column (values a whole row apart in memory) and scans
// it from the surface down. Here the rows are read from the surface down instead, two
// neighbouring rows at a time, and each time level whose isotherm is not found yet takes the
// first node interval that holds the temperature, exactly as interpl's scan does; the pass ends
// once every level has its answer. The time levels are shared out among threads.

#include "field.h"
#include "grid.h"

#include <span>

namespace erosion {

// The depths isothermDepths gives, bit for bit (0 where the isotherm is not found), for
// depths.size() == nodeCount time levels. threads >= 1.
void isothermDepthsByRows(const TemperatureField& field, const DepthGrid& grid, double temperature,
    std::span<double> depths, int threads);

} // namespace erosion
