// cooling_ages: predicted thermochronometer ages (Dodson closure for seven systems, kinetic
// models for apatite and zircon (U-Th)/He and apatite fission tracks) along the cooling paths of
// the transient erosion model, the periodic topography model, or a path file; a CSV table.

#include "coolingages.h"
#include "progressline.h"

#include <iostream>

int main(int argc, char* argv[])
{
    return ages::coolingAgesMain(
        argc, argv, std::cout, std::cerr, erosion::standardErrorIsTerminal());
}
