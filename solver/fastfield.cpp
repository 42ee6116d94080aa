#include "fastfield.h"

#include "model.h"

#include <cassert>

namespace erosion {

LevelFactors::LevelFactors(const RunParameters& p, int levelCount)
    : m_surfaceTemp(p.surfaceTemp)
    , m_basalGradient(p.basalGradient)
    , m_diffusivity(p.diffusivity)
    , m_erosionVelocity(p.erosionVelocity)
    , m_time(static_cast<std::size_t>(levelCount))
    , m_risenBy(m_time.size())
    , m_diffusionLength(m_time.size())
{
    for (std::size_t level = 0; level < m_time.size(); ++level) {
        const double t = timeOfLevel(static_cast<int>(level));
        m_time[level] = t;
        m_risenBy[level] = closedform::risenBy(m_erosionVelocity, t);
        m_diffusionLength[level] = closedform::diffusionLength(m_diffusivity, t);
    }
}

void LevelFactors::nodeTemperatures(double z, std::span<double> temperatures) const
{
    // One temperature per level this holds factors for.
    assert(temperatures.size() <= m_time.size());
    const double T0 = m_surfaceTemp;
    const double G = m_basalGradient;
    const double factor = closedform::advectionFactor(m_erosionVelocity, z, m_diffusivity);
    for (std::size_t level = 0; level < temperatures.size(); ++level) {
        // As in transientTemp: the initial geotherm at t = 0, the closed form after.
        temperatures[level] = m_time[level] == 0.0
            ? closedform::initialTemp(T0, G, z)
            : closedform::temperature(T0, G, z, m_risenBy[level], m_diffusionLength[level], factor);
    }
}

void computeFieldRows(const LevelFactors& levels, const DepthGrid& grid, TemperatureField& field,
    int firstNode, int endNode)
{
    for (int node = firstNode; node < endNode; ++node)
        levels.nodeTemperatures(grid.nodeZ[static_cast<std::size_t>(node)], field.row(node));
}

} // namespace erosion
