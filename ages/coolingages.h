#pragma once
// The cooling_ages program: reads the command line into a request and runs it (agerun.h).

#include <ostream>

namespace ages {

// The whole program; returns the exit status (0, or 1 after one "ERROR: ..." line on err, the one
// place the program writes that prefix). The
// table goes to out or to the --output file. With showProgress, a long run shows a progress line
// on err while it computes (erased before anything else is written there).
int coolingAgesMain(int argc, const char* const argv[], std::ostream& out, std::ostream& err,
    bool showProgress = false);

} // namespace ages
