// periodic_topography: steady-state temperatures under a periodic ridge-and-valley topography
// that is eroded at a constant rate; writes the topography, four isotherms and three cooling
// histories under ../output/periodic/ for the two periodic viewers.

#include "periodicrun.h"

#include <iostream>

int main(int argc, char* argv[])
{
    return periodic::runPeriodicTopography(argc, argv, "../output", std::cout, std::cerr);
}
