#pragma once
// The temperature field: the closed-form temperature sampled at every node of the depth grid
// and every whole million years, as many time levels as nodes.

#include "grid.h"
#include "runparameters.h"
#include "units.h"

#include <cstddef>
#include <span>
#include <vector>

namespace erosion {

class TemperatureField {
public:
    // Allocates nodeCount x nodeCount values (may throw std::bad_alloc).
    explicit TemperatureField(int nodeCount)
        : m_nodeCount(nodeCount)
        , m_values(static_cast<std::size_t>(nodeCount) * static_cast<std::size_t>(nodeCount))
    {
    }

    int nodeCount() const { return m_nodeCount; }

    // Temperature of node j (surface first) at time level i (i million years).
    double at(int node, int level) const { return m_values[index(node, level)]; }
    double& at(int node, int level) { return m_values[index(node, level)]; }

    // All time levels of one node, level 0 first.
    std::span<const double> row(int node) const
    {
        return { m_values.data() + index(node, 0), static_cast<std::size_t>(m_nodeCount) };
    }
    std::span<double> row(int node)
    {
        return { m_values.data() + index(node, 0), static_cast<std::size_t>(m_nodeCount) };
    }

private:
    std::size_t index(int node, int level) const
    {
        return static_cast<std::size_t>(node) * static_cast<std::size_t>(m_nodeCount)
            + static_cast<std::size_t>(level);
    }

    int m_nodeCount;
    std::vector<double> m_values; // node by node, each node's time levels together
};

// The time (s) of time level i.
inline double timeOfLevel(int level)
{
    return level * units::secondsPerMyr;
}

// Fills field with transientTemp(nodeZ[j], i Myr) for every node j and time level i, in one
// thread: the plain reference evaluation.
void computeField(const RunParameters& p, const DepthGrid& grid, TemperatureField& field);

} // namespace erosion
