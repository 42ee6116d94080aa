#pragma once
// The twelve result files of a run: their paths, relative to the working directory, and the
// writing of each kind. Each function opens its file through the run's ResultFile, writes it
// whole and closes it; it returns false when the open is refused (the file is then untouched)
// or the file could not be written.

#include "field.h"
#include "grid.h"
#include "resultfile.h"
#include "resultpaths.h"
#include "runparameters.h"

#include <array>
#include <span>
#include <vector>

namespace erosion {

// The twelve paths, relative to the working directory.
namespace resultpath = ::resultpath::transient;

// Geotherm at time t (s): pairs (temperature, node coordinate) from the surface down, each
// node evaluated into geothermTemp and written at once.
bool writeGeotherm(ResultFile& out, const char* path, const RunParameters& p, const DepthGrid& grid,
    double t, std::vector<double>& geothermTemp);

// The whole field, one line per node, its time levels in order: the plain reference writer.
bool writeField(ResultFile& out, const char* path, const TemperatureField& field);

// Pairs (time level, node coordinate), "NaN" where the isotherm was not found.
bool writeIsotherm(ResultFile& out, const char* path, std::span<const double> depths);

// The cooling history: pairs (Myr, temperature), then the times and the temperatures one per
// line, in three files.
bool writeHistory(ResultFile& out, std::span<const double> history);

} // namespace erosion
