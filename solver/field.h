#pragma once
// The temperature field: the closed-form temperature sampled at every node of the depth grid
// and every whole million years, as many time levels as nodes.

#include "grid.h"
#include "runparameters.h"

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace erosion {

class TemperatureField {
public:
    // Allocates nodeCount x nodeCount values, not yet set (throws std::bad_alloc when the memory
    // cannot be had).
    explicit TemperatureField(int nodeCount);

    int nodeCount() const { return m_nodeCount; }

    // Temperature of node j (surface first) at time level i (i million years).
    double at(int node, int level) const { return m_values[index(node, level)]; }
    double& at(int node, int level) { return m_values[index(node, level)]; }

    // All time levels of one node, level 0 first.
    std::span<const double> row(int node) const
    {
        return { m_values.get() + index(node, 0), static_cast<std::size_t>(m_nodeCount) };
    }
    std::span<double> row(int node)
    {
        return { m_values.get() + index(node, 0), static_cast<std::size_t>(m_nodeCount) };
    }

private:
    std::size_t index(int node, int level) const
    {
        return static_cast<std::size_t>(node) * static_cast<std::size_t>(m_nodeCount)
            + static_cast<std::size_t>(level);
    }

    struct Release {
        void operator()(double* values) const;
    };

    int m_nodeCount;
    // Node by node, each node's time levels together. Not filled with zeros first: every value
    // is computed before it is read, and the pages are touched first by the threads that compute
    // them.
    std::unique_ptr<double[], Release> m_values;
};

// The time (s) of time level i.
inline double timeOfLevel(int level)
{
    return level * secondsPerMyr;
}

// Fills field with transientTemp(nodeZ[j], i Myr) for every node j and time level i, in one
// thread: the plain reference evaluation.
void computeField(const RunParameters& p, const DepthGrid& grid, TemperatureField& field);

} // namespace erosion
