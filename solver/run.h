#pragma once
// One run of the transient erosion model: refuse unusable parameters, build the grid, compute
// geotherms, field, isotherm depths and cooling history, and write the twelve result files under
// "../output/". Nothing is written to standard output.

#include "runparameters.h"

#include <iosfwd>

namespace erosion {

// Returns the exit status: 0 when every file was written, 1 after a message on err. Parameters
// that are refused and grids too large for the machine stop the run before any file is touched.
int runTransientErosion(const RunParameters& p, std::ostream& err);

} // namespace erosion
