#include "run.h"

#include "commandline.h"
#include "fastfield.h"
#include "field.h"
#include "fieldwriter.h"
#include "grid.h"
#include "isothermscan.h"
#include "memory.h"
#include "parametercheck.h"
#include "progressline.h"
#include "records.h"
#include "resultfile.h"
#include "resultwriters.h"

#include <algorithm>
#include <iostream>
#include <new>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

namespace erosion {

namespace {

// Every array of a run but the history, allocated together before any file is opened.
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

int fail(std::ostream& err, const std::string& message)
{
    err << message << '\n';
    return 1;
}

int threadCount(const Execution& execution)
{
    if (execution.threads > 0)
        return execution.threads;
    return std::max(1U, std::thread::hardware_concurrency());
}

// The results, in the order of the files.
bool computeAndWrite(const RunParameters& p, const DepthGrid& grid, RunArrays& arrays,
    const Execution& execution, std::ostream& err)
{
    const bool fast = execution.path == Execution::Path::fast;
    const int threads = threadCount(execution);

    ResultFile out;
    for (std::size_t k = 0; k < p.geothermTime.size(); ++k) {
        if (!writeGeotherm(
                out, resultpath::geotherm[k], p, grid, p.geothermTime[k], arrays.geothermTemp))
            return false;
    }

    if (fast) {
        const LevelFactors levels(p, grid.nodeCount());
        ProgressLine progress = execution.showProgress
            ? ProgressLine(err, "transient_erosion: temperature field")
            : ProgressLine();
        if (!computeAndWriteField(
                out, resultpath::field, levels, grid, arrays.field, threads, progress))
            return false;
    } else {
        computeField(p, grid, arrays.field);
        if (!writeField(out, resultpath::field, arrays.field))
            return false;
    }

    for (std::size_t m = 0; m < p.isothermTemp.size(); ++m) {
        if (fast)
            isothermDepthsByRows(
                arrays.field, grid, p.isothermTemp[m], arrays.isothermDepth, threads);
        else
            isothermDepths(
                arrays.field, grid, p.isothermTemp[m], arrays.column, arrays.isothermDepth);
        if (!writeIsotherm(out, resultpath::isotherm[m], arrays.isothermDepth))
            return false;
    }

    const auto history = coolingHistory(arrays.field, static_cast<int>(p.historyTime));
    if (!writeHistory(out, history))
        return false;
    // The last file has no next open to reveal a failed write-out.
    return !out.failed();
}

} // namespace

int runTransientErosion(const RunParameters& p, std::ostream& err, const Execution& execution)
{
    if (const auto error = checkParameters(p))
        return fail(err, *error);

    // Checked before the grid is counted: with a spacing far below the resolution of maxDepth
    // the count's sums would never advance.
    const double nodeSpacing = nodeSpacingFor(p.erosionRate);
    if (!runFitsInMemory(nodeCountBound(p.maxDepth, nodeSpacing)))
        return fail(err, heapErrorMessage);

    try {
        const DepthGrid grid = buildGrid(p.maxDepth, nodeSpacing);
        if (const auto error = checkHistoryTime(p, grid.nodeCount()))
            return fail(err, *error);

        RunArrays arrays(grid.nodeCount());
        if (!computeAndWrite(p, grid, arrays, execution, err))
            return fail(err, openErrorMessage);
    } catch (const std::bad_alloc&) {
        return fail(err, heapErrorMessage);
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
        printBadOptionHint(argv[0], std::cerr);
        return 1;
    case CommandLine::Action::run:
        break;
    }
    return runTransientErosion(commandLine.parameters, std::cerr, execution);
}

} // namespace erosion
