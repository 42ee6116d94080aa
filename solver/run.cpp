#include "run.h"

#include "alongside.h"
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
#include <array>
#include <iostream>
#include <new>
#include <optional>
#include <ostream>
#include <thread>
#include <tuple>
#include <vector>

namespace erosion {

namespace {

// Every array of a run but the history, allocated together before any file is opened.
struct RunArrays {
    explicit RunArrays(int nodeCount)
        : field(nodeCount)
        , geothermTemp(nodeCount)
        , column(nodeCount)
    {
        for (std::vector<double>& depths : isothermDepth)
            depths.resize(static_cast<std::size_t>(nodeCount));
    }

    TemperatureField field;
    std::vector<double> geothermTemp;
    std::vector<double> column;
    // One per isotherm, so that the fast path can find all four before it writes any.
    std::array<std::vector<double>, std::tuple_size_v<decltype(RunParameters::isothermTemp)>>
        isothermDepth;
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

bool writeIsotherms(ResultFile& out, const RunArrays& arrays)
{
    for (std::size_t m = 0; m < arrays.isothermDepth.size(); ++m) {
        if (!writeIsotherm(out, resultpath::isotherm[m], arrays.isothermDepth[m]))
            return false;
    }
    return true;
}

// Files 5 to 9, one thread, value by value.
bool writeFieldAndIsothermsPlainly(
    const RunParameters& p, const DepthGrid& grid, RunArrays& arrays, ResultFile& out)
{
    computeField(p, grid, arrays.field);
    if (!writeField(out, resultpath::field, arrays.field))
        return false;
    for (std::size_t m = 0; m < p.isothermTemp.size(); ++m) {
        isothermDepths(
            arrays.field, grid, p.isothermTemp[m], arrays.column, arrays.isothermDepth[m]);
        if (!writeIsotherm(out, resultpath::isotherm[m], arrays.isothermDepth[m]))
            return false;
    }
    return true;
}

// Files 5 to 9 on all threads; the isotherms are found while file 5 is being closed (which can
// wait on the disk) and written after it.
bool writeFieldAndIsothermsFast(const RunParameters& p, const DepthGrid& grid, RunArrays& arrays,
    ResultFile& out, int threads, ProgressLine& progress)
{
    const LevelFactors levels(p, grid.nodeCount());
    if (!computeAndWriteField(
            out, resultpath::field, levels, grid, arrays.field, threads, progress))
        return false;
    auto close = [&out] { out.close(); };
    runAlongside(close, [&] {
        for (std::size_t m = 0; m < p.isothermTemp.size(); ++m)
            isothermDepthsByRows(
                arrays.field, grid, p.isothermTemp[m], arrays.isothermDepth[m], threads);
    });
    return writeIsotherms(out, arrays);
}

// The results, in the order of the files.
bool computeAndWrite(const RunParameters& p, const DepthGrid& grid, RunArrays& arrays,
    const Execution& execution, std::ostream& err)
{
    ResultFile out;
    for (std::size_t k = 0; k < p.geothermTime.size(); ++k) {
        if (!writeGeotherm(
                out, resultpath::geotherm[k], p, grid, p.geothermTime[k], arrays.geothermTemp))
            return false;
    }

    if (execution.path == Execution::Path::fast) {
        ProgressLine progress = execution.showProgress
            ? ProgressLine(err, "transient_erosion: temperature field")
            : ProgressLine();
        if (!writeFieldAndIsothermsFast(p, grid, arrays, out, threadCount(execution), progress))
            return false;
    } else if (!writeFieldAndIsothermsPlainly(p, grid, arrays, out)) {
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
