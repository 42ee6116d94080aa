#include "terraingrid.h"

#include <algorithm>
#include <cmath>

namespace terrain {

TerrainGrid::TerrainGrid(const Dem& dem, const std::vector<double>& heights,
    const double baseDepthM, const int levels, const double levelSpacingRatio)
    : m_columns(dem.columns)
    , m_rows(dem.rows)
    , m_originX(dem.originX)
    , m_originY(dem.originY)
    , m_spacingX(dem.spacingX)
    , m_spacingY(dem.spacingY)
    , m_baseDepthM(baseDepthM)
    , m_surface(heights)
    , m_sigma(levels)
{
    const double b = std::log(levelSpacingRatio);
    for (int k = 0; k < levels; ++k) {
        const double s = static_cast<double>(k) / (levels - 1);
        // expm1 keeps the uniform limit b -> 0 exact: sigma = s.
        m_sigma[k] = b == 0.0 ? s : std::expm1(b * s) / std::expm1(b);
    }
    m_sigma.back() = 1.0;
}

TerrainGrid::Location TerrainGrid::locate(const double xM, const double yM, const double zM) const
{
    Location where {};
    const double u = std::clamp((xM - m_originX) / m_spacingX, 0.0, m_columns - 1.0);
    const double v = std::clamp((yM - m_originY) / m_spacingY, 0.0, m_rows - 1.0);
    where.i = std::min(static_cast<int>(u), m_columns - 2);
    where.j = std::min(static_cast<int>(v), m_rows - 2);
    where.xi = u - where.i;
    where.eta = v - where.j;
    const double h00 = surface(where.i, where.j), h10 = surface(where.i + 1, where.j);
    const double h01 = surface(where.i, where.j + 1), h11 = surface(where.i + 1, where.j + 1);
    where.surfaceM = (1 - where.eta) * ((1 - where.xi) * h00 + where.xi * h10)
        + where.eta * ((1 - where.xi) * h01 + where.xi * h11);
    // Within the element z = h_b - (h_b + L) sigma, h_b the bilinear surface, and sigma linear in
    // zeta between the element's two levels.
    const double sigma
        = std::clamp((where.surfaceM - zM) / (where.surfaceM + m_baseDepthM), 0.0, 1.0);
    const auto above = std::upper_bound(m_sigma.begin(), m_sigma.end(), sigma);
    where.k = std::clamp(static_cast<int>(above - m_sigma.begin()) - 1, 0, levels() - 2);
    where.zeta = (sigma - m_sigma[where.k]) / (m_sigma[where.k + 1] - m_sigma[where.k]);
    return where;
}

double TerrainGrid::interpolate(const std::span<const double> field, const Location& w) const
{
    const auto column = [&](const int i, const int j) {
        const std::size_t n = node(i, j, w.k);
        return (1 - w.zeta) * field[n] + w.zeta * field[n + 1];
    };
    return (1 - w.eta) * ((1 - w.xi) * column(w.i, w.j) + w.xi * column(w.i + 1, w.j))
        + w.eta * ((1 - w.xi) * column(w.i, w.j + 1) + w.xi * column(w.i + 1, w.j + 1));
}

} // namespace terrain
