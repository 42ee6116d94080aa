#pragma once
// One run of the transient erosion model: refuse unusable parameters, build the grid, compute
// geotherms, field, isotherm depths and cooling history, and write the twelve result files under
// "../output/". Nothing is written to standard output.

#include "replacementgroup.h"
#include "runparameters.h"

#include <chrono>
#include <functional>
#include <iosfwd>

namespace erosion {

// How a run evaluates the temperature field and the records drawn from it. The program takes the
// fast path: the field on several threads with the closed form's node-only and level-only
// factors computed once, streamed to its file in large blocks as it is computed, the isotherm
// depths and the cooling history gathered from the rows on the way, so that the field is never
// held whole (FieldStream). The plain path (one thread, transientTemp value by value into the
// stored field, written row by row through the stream, each isotherm from gathered columns) is
// kept as the reference that tests and benchmarks compare with. Both write the same bytes.
struct Execution {
    enum class Path { fast, plain };
    Path path = Path::fast;
    int threads = 0; // fast path: 0 for one per processor
    bool showProgress = false; // a progress line on err while the field is computed
    // How long the field must take before the progress line appears: short runs print nothing.
    std::chrono::milliseconds progressDelay = std::chrono::milliseconds(700);
    // Fast path: told the share of the field written (0 .. 1) after every block, for a caller
    // that shows progress its own way. An exception it throws fails the run.
    std::function<void(double)> onProgress {};
};

// Returns the exit status: 0 when every file was written, 1 after one "ERROR: ..." line on err
// (the checks compose their messages without the prefix; the run writes it). Parameters
// that are refused and grids too large for the machine stop the run before any file is touched.
// The twelve files are replaced together or not at all: they are written as temporaries of
// pending and put in place once all are complete; a run that fails removes them and leaves the
// previous run's files as they were.
int runTransientErosion(const RunParameters& p, std::ostream& err, const Execution& execution,
    wholefile::ReplacementGroup& pending);
int runTransientErosion(const RunParameters& p, std::ostream& err, const Execution& execution = {});

// The whole program: reads the command line, answers -h and -v, reports a bad option, or runs;
// an interruption (SIGINT, SIGTERM, SIGHUP) removes the run's temporaries.
int transientErosionMain(int argc, char* argv[], const Execution& execution);

} // namespace erosion
