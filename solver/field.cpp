#include "field.h"

#include "model.h"

namespace erosion {

void computeField(const RunParameters& p, const DepthGrid& grid, TemperatureField& field)
{
    const int nodeCount = grid.nodeCount();
    // Node by node, so that each node's time levels are written one after the other in memory.
    for (int node = 0; node < nodeCount; ++node) {
        const double z = grid.nodeZ[node];
        std::span<double> levels = field.row(node);
        for (int level = 0; level < nodeCount; ++level)
            levels[level] = transientTemp(p, z, timeOfLevel(level));
    }
}

} // namespace erosion
