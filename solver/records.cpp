#include "records.h"

namespace erosion {

double interpl(const double* xs, int count, const double* ys, double x)
{
    if (count - 1 <= 0)
        return 0.0;
    for (int i = 0; i < count - 1; ++i) {
        if (x >= xs[i] && xs[i + 1] >= x) {
            // y = y_i + (x - x_i) (y_{i+1} - y_i) / (x_{i+1} - x_i)
            return ys[i] + (x - xs[i]) * ((ys[i + 1] - ys[i]) / (xs[i + 1] - xs[i]));
        }
    }
    return 0.0;
}

void isothermDepths(const TemperatureField& field, const DepthGrid& grid, double temperature,
    std::vector<double>& column, std::vector<double>& depths)
{
    const int nodeCount = grid.nodeCount();
    column.resize(nodeCount);
    depths.resize(nodeCount);
    for (int level = 0; level < nodeCount; ++level) {
        // The field is stored node by node; gather the temperatures of this time level.
        for (int node = 0; node < nodeCount; ++node)
            column[node] = field.at(node, level);
        depths[level] = interpl(column.data(), nodeCount, grid.nodeZ.data(), temperature);
    }
}

std::vector<double> coolingHistory(const TemperatureField& field, int exposureLevel)
{
    std::vector<double> history(exposureLevel + 1);
    for (int k = 0; k <= exposureLevel; ++k)
        history[k] = field.at(exposureLevel - k, k);
    return history;
}

} // namespace erosion
