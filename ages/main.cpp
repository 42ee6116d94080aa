// cooling_ages: predicted thermochronometer ages (Dodson closure for seven systems, kinetic
// models for apatite and zircon (U-Th)/He and apatite fission tracks) along the cooling paths of
// the transient erosion model, the periodic topography model, or a path file; a CSV table.

#include "coolingages.h"
#include "interruptcleanup.h"
#include "progressline.h"
#include "replacementgroup.h"

#include <iostream>

int main(int argc, char* argv[])
{
    // SIGINT, SIGTERM or SIGHUP while files are written: their temporaries are removed before
    // the process ends by the signal, and the files stay as they were.
    const erosion::InterruptCleanup cleanup(wholefile::abandonEveryGroup);
    return ages::coolingAgesMain(
        argc, argv, std::cout, std::cerr, erosion::standardErrorIsTerminal());
}
