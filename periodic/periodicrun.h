#pragma once
// One run of periodic_topography: scan the options, check the values and the output
// directories, fit the steady state, reject a relief too steep for the fit, compute the profiles
// and histories, and write the eight files.

#include <filesystem>
#include <ostream>

namespace periodic {

// The surface misfit (C) beyond which a fit is refused as too steep a relief for the method.
inline constexpr double acceptableResidual = 0.01;

// Returns the exit status: 0 after a run or -h / -v, 1 after any error (reported on err as
// "ERROR: ..." or, for a bad option, as the scanner's line and a hint). The files go under
// outputRoot (the program passes "../output").
int runPeriodicTopography(int argc, char* const argv[], const std::filesystem::path& outputRoot,
    std::ostream& out, std::ostream& err);

} // namespace periodic
