#pragma once
// One run of periodic_topography: scan the options, check the values and the output
// directories, fit the steady state, refuse a fit that misses the surface, compute the profiles
// and histories, and write the eight files.

#include <filesystem>
#include <ostream>

namespace periodic {

// Returns the exit status: 0 after a run or -h / -v, 1 after any error (reported on err as
// "ERROR: ..." or, for a bad option, as the scanner's line and a hint). The files go under
// outputRoot (the program passes "../output").
int runPeriodicTopography(int argc, char* const argv[], const std::filesystem::path& outputRoot,
    std::ostream& out, std::ostream& err);

} // namespace periodic
