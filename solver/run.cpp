#include "run.h"

#include "commandline.h"
#include "diskspace.h"
#include "field.h"
#include "fieldstream.h"
#include "getopt.h"
#include "grid.h"
#include "interruptcleanup.h"
#include "memory.h"
#include "parametercheck.h"
#include "progressline.h"
#include "records.h"
#include "resultfile.h"
#include "resultwriters.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace erosion {

namespace {

// Every array of a plain run but the history, allocated together before any file is opened.
struct RunArrays {
    explicit RunArrays(int nodeCount)
        : field(nodeCount)
        , geothermTemp(nodeCount)
        , column(nodeCount)
        , isothermDepth(nodeCount)
    {
    }

    TemperatureField field;
    std::vector<double> geothermTemp;
    std::vector<double> column;
    std::vector<double> isothermDepth;
};

// The one place the program's refusals and failures reach standard error: every message is
// composed without the "ERROR: " that starts its line here.
int fail(std::ostream& err, std::string_view message)
{
    err << "ERROR: " << message << '\n';
    return 1;
}

int threadCount(const Execution& execution)
{
    if (execution.threads > 0)
        return execution.threads;
    return std::max(1U, std::thread::hardware_concurrency());
}

bool writeGeotherms(ResultFile& out, const RunParameters& p, const DepthGrid& grid,
    std::vector<double>& geothermTemp)
{
    for (std::size_t k = 0; k < p.geothermTime.size(); ++k) {
        if (!writeGeotherm(out, resultpath::geotherm[k], p, grid, p.geothermTime[k], geothermTemp))
            return false;
    }
    return true;
}

// The twelve files in their order, one thread, value by value, from the stored field.
bool computeAndWritePlainly(const RunParameters& p, const DepthGrid& grid, ResultFile& out)
{
    RunArrays arrays(grid.nodeCount());
    if (!writeGeotherms(out, p, grid, arrays.geothermTemp))
        return false;

    computeField(p, grid, arrays.field);
    if (!writeField(out, resultpath::field, arrays.field))
        return false;

    for (std::size_t m = 0; m < p.isothermTemp.size(); ++m) {
        isothermDepths(arrays.field, grid, p.isothermTemp[m], arrays.column, arrays.isothermDepth);
        if (!writeIsotherm(out, resultpath::isotherm[m], arrays.isothermDepth))
            return false;
    }

    const auto history = coolingHistory(arrays.field, static_cast<int>(p.historyTime));
    return writeHistory(out, history);
}

// The same files from the field streamed on all threads (see FieldStream).
bool computeAndWriteFast(const RunParameters& p, const DepthGrid& grid, const Execution& execution,
    ResultFile& out, std::ostream& err)
{
    std::vector<double> geothermTemp(static_cast<std::size_t>(grid.nodeCount()));
    FieldStream stream(p, grid, threadCount(execution));
    if (!writeGeotherms(out, p, grid, geothermTemp))
        return false;

    {
        ProgressLine line = execution.showProgress
            ? ProgressLine(err, "transient_erosion: temperature field", execution.progressDelay)
            : ProgressLine();
        const auto progress = [&](double fraction) {
            line.update(fraction);
            if (execution.onProgress)
                execution.onProgress(fraction);
        };
        if (!stream.computeAndWrite(out, resultpath::field, progress))
            return false;
    }
    out.close();

    for (std::size_t m = 0; m < p.isothermTemp.size(); ++m) {
        if (!writeIsotherm(out, resultpath::isotherm[m], stream.isothermDepths(m)))
            return false;
    }
    return writeHistory(out, stream.coolingHistory());
}

// What the chosen path holds at its peak for nodeCount nodes (at most INT_MAX): the plain path
// the whole field, the fast path the stream's buffers and a few arrays of nodes; the fast path's
// threads (the stream's, the file opener, the interrupt watcher) each reserve a stack.
MemoryNeed memoryNeed(const Execution& execution, double nodeCount)
{
    if (execution.path == Execution::Path::plain) {
        const double bytes = runMemoryBytes(nodeCount);
        return { bytes, bytes + threadStackBytes() };
    }
    const int threads = threadCount(execution);
    // The node coordinates, the scratch that builds them and a geotherm.
    constexpr double nodeArrays = 3.0;
    const double resident = FieldStream::workingBytes(static_cast<int>(nodeCount), threads)
        + nodeArrays * sizeof(double) * nodeCount;
    return { resident, resident + (threads + 2) * threadStackBytes() };
}

// Computes and writes the twelve temporaries, then puts them in place; the message of what
// failed, or nothing.
std::optional<std::string> computeAndReplace(const RunParameters& p, const DepthGrid& grid,
    const Execution& execution, wholefile::ReplacementGroup& pending, std::ostream& err)
{
    ResultFile out(pending);
    const bool written = execution.path == Execution::Path::fast
        ? computeAndWriteFast(p, grid, execution, out, err)
        : computeAndWritePlainly(p, grid, out);
    out.close(); // the last file has no next open to reveal a failed write-out
    if (!written || out.failed())
        return out.failed() ? out.failureMessage() : std::string(openErrorMessage);
    if (const auto failure = pending.commit())
        return "could not write " + failure->path + ": " + std::strerror(failure->error);
    return std::nullopt;
}

} // namespace

int runTransientErosion(const RunParameters& p, std::ostream& err, const Execution& execution)
{
    wholefile::ReplacementGroup pending;
    return runTransientErosion(p, err, execution, pending);
}

int runTransientErosion(const RunParameters& p, std::ostream& err, const Execution& execution,
    wholefile::ReplacementGroup& pending)
{
    if (const auto error = checkParameters(p))
        return fail(err, *error);

    // Checked before the grid is counted: with a spacing far below the resolution of maxDepth
    // the count's sums would never advance.
    const double nodeSpacing = nodeSpacingFor(p.erosionRate);
    const double nodeBound = nodeCountBound(p.maxDepth, nodeSpacing);
    // Node and time indices are ints.
    if (!(nodeBound <= INT_MAX)
        || !fitsInMemory(memoryNeed(execution, nodeBound), readMemoryReadings()))
        return fail(err, heapErrorMessage);

    // Whatever stops the run, the temporaries written so far are removed.
    try {
        // The count first: the grid's arrays are allocated only for a run that goes ahead.
        const int nodeCount = countNodes(p.maxDepth, nodeSpacing);
        if (const auto error = checkGrid(p, nodeCount))
            return fail(err, *error);
        if (const auto error = checkHistoryTime(p, nodeCount))
            return fail(err, *error);
        // What runs killed outright left would count against the free space.
        for (const char* path : resultpath::all)
            wholefile::removeAbandonedTemporaries(path);
        if (const auto error = checkDiskSpace(resultFileSizes(p, nodeCount)))
            return fail(err, *error);
        const DepthGrid grid = buildGrid(p.maxDepth, nodeSpacing);
        if (const auto error = computeAndReplace(p, grid, execution, pending, err)) {
            pending.discard();
            return fail(err, *error);
        }
    } catch (const std::bad_alloc&) {
        pending.discard();
        return fail(err, heapErrorMessage);
    } catch (const std::exception& failure) {
        pending.discard();
        return fail(err, std::string("the run failed: ") + failure.what());
    }
    return 0;
}

int transientErosionMain(int argc, char* argv[], const Execution& execution)
{
    const CommandLine commandLine = readCommandLine(argc, argv);
    switch (commandLine.action) {
    case CommandLine::Action::help:
        printMenu(argv[0]);
        return 0;
    case CommandLine::Action::version:
        std::cout << versionString << std::endl;
        return 0;
    case CommandLine::Action::badOption:
        optscan::printHelpHint(argv[0], std::cerr);
        return 1;
    case CommandLine::Action::run:
        break;
    }
    wholefile::ReplacementGroup pending;
    const InterruptCleanup cleanup(pending);
    return runTransientErosion(commandLine.parameters, std::cerr, execution, pending);
}

} // namespace erosion
