#include "resultwriters.h"

#include "model.h"

namespace erosion {

bool writeGeotherm(ResultFile& out, const char* path, const RunParameters& p, const DepthGrid& grid,
    double t, std::vector<double>& geothermTemp)
{
    if (!out.open(path))
        return false;
    for (int node = 0; node < grid.nodeCount(); ++node) {
        geothermTemp[node] = transientTemp(p, grid.nodeZ[node], t);
        out.writePair(geothermTemp[node], grid.nodeZ[node]);
    }
    out.close();
    return !out.failed();
}

bool writeField(ResultFile& out, const char* path, const TemperatureField& field)
{
    if (!out.open(path))
        return false;
    for (int node = 0; node < field.nodeCount(); ++node)
        out.writeRow(field.row(node));
    out.close();
    return !out.failed();
}

bool writeIsotherm(ResultFile& out, const char* path, std::span<const double> depths)
{
    if (!out.open(path))
        return false;
    for (std::size_t level = 0; level < depths.size(); ++level)
        out.writeIsothermPair(static_cast<int>(level), depths[level]);
    out.close();
    return !out.failed();
}

bool writeHistory(ResultFile& out, std::span<const double> history)
{
    const int count = static_cast<int>(history.size());
    if (!out.open(resultpath::historyPairs))
        return false;
    for (int k = 0; k < count; ++k)
        out.writePair(k, history[k]);
    out.close();

    if (!out.open(resultpath::historyTimes))
        return false;
    for (int k = 0; k < count; ++k)
        out.writeLine(static_cast<double>(k));
    out.close();

    if (!out.open(resultpath::historyTemps))
        return false;
    for (const double temperature : history)
        out.writeLine(temperature);
    out.close();
    return !out.failed();
}

} // namespace erosion
