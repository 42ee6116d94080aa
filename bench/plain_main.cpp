// transient_erosion_plain: the solver on its plain path (one thread, transientTemp value by
// value, the field written row by row, isotherms from gathered columns), built for the
// benchmarks only: scripts/bench.sh times it beside the program to show what the fast path gains.
// It writes the same files, byte for byte.

#include "run.h"

int main(int argc, char* argv[])
{
    return erosion::transientErosionMain(argc, argv, { .path = erosion::Execution::Path::plain });
}
