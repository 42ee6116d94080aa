#include "run.h"

#include "field.h"
#include "grid.h"
#include "memory.h"
#include "parametercheck.h"
#include "records.h"
#include "resultfile.h"
#include "resultwriters.h"

#include <new>
#include <optional>
#include <ostream>
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

// The results, in the order of the files.
bool computeAndWrite(const RunParameters& p, const DepthGrid& grid, RunArrays& arrays)
{
    ResultFile out;
    for (std::size_t k = 0; k < p.geothermTime.size(); ++k) {
        if (!writeGeotherm(
                out, resultpath::geotherm[k], p, grid, p.geothermTime[k], arrays.geothermTemp))
            return false;
    }

    computeField(p, grid, arrays.field);
    if (!writeField(out, resultpath::field, arrays.field))
        return false;

    for (std::size_t m = 0; m < p.isothermTemp.size(); ++m) {
        isothermDepths(arrays.field, grid, p.isothermTemp[m], arrays.column, arrays.isothermDepth);
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

int runTransientErosion(const RunParameters& p, std::ostream& err)
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
        if (!computeAndWrite(p, grid, arrays))
            return fail(err, openErrorMessage);
    } catch (const std::bad_alloc&) {
        return fail(err, heapErrorMessage);
    }
    return 0;
}

} // namespace erosion
