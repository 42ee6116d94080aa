#include "isothermsearch.h"

#include <algorithm>
#include <cassert>

namespace erosion {

IsothermSearch::IsothermSearch(double temperature, int levelCount)
    : m_temperature(temperature)
    , m_depths(static_cast<std::size_t>(levelCount), 0.0)
    , m_found(static_cast<std::size_t>(levelCount), 0)
    , m_openLevels(levelCount)
{
}

void IsothermSearch::restart()
{
    std::fill(m_depths.begin(), m_depths.end(), 0.0);
    std::fill(m_found.begin(), m_found.end(), 0);
    m_openLevels = static_cast<int>(m_found.size());
}

void IsothermSearch::searchInterval(
    std::span<const double> upper, std::span<const double> lower, double zUpper, double zLower)
{
    // Both rows hold every level; the upper node lies above the lower one.
    assert(upper.size() == m_found.size() && lower.size() == m_found.size());
    assert(zUpper > zLower);
    const double x = m_temperature;
    for (std::size_t level = 0; level < m_found.size() && m_openLevels > 0; ++level) {
        // interpl's test: the interval [x_i, x_{i+1}] holds x (never with a NaN end).
        if (m_found[level] || !(x >= upper[level] && lower[level] >= x))
            continue;
        // interpl: y = y_i + (x - x_i) (y_{i+1} - y_i) / (x_{i+1} - x_i)
        m_depths[level]
            = zUpper + (x - upper[level]) * ((zLower - zUpper) / (lower[level] - upper[level]));
        m_found[level] = 1;
        --m_openLevels;
    }
}

void IsothermSearch::takeFrom(const IsothermSearch& deeper)
{
    assert(deeper.m_found.size() == m_found.size());
    for (std::size_t level = 0; level < m_found.size() && m_openLevels > 0; ++level) {
        if (m_found[level] || !deeper.m_found[level])
            continue;
        m_depths[level] = deeper.m_depths[level];
        m_found[level] = 1;
        --m_openLevels;
    }
}

} // namespace erosion
