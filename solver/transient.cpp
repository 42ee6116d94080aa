// transient_erosion: temperatures in a crust whose surface is eroded at a constant rate.
//
// Reads the physical parameters from the options, evaluates the closed-form solution of the
// heat equation with upward rock motion on a depth grid and a time axis of whole million years,
// and writes geotherms, isotherm depths, the temperature table and a cooling history under
// "../output/". On a terminal, a long run shows its progress on standard error.

#include "progressline.h"
#include "run.h"

int main(int argc, char* argv[])
{
    return erosion::transientErosionMain(
        argc, argv, { .showProgress = erosion::standardErrorIsTerminal() });
}
