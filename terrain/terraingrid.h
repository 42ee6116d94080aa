#pragma once
// The terrain-following grid of the 3D model: a vertical column of nodes under every DEM node,
// from the land surface h(x, y) down to the flat base at z = -L (L below sea level). Level k of
// a column stands at
//
//     z_k(x, y) = h(x, y) - (h(x, y) + L) sigma_k,   sigma_k = (exp(b s_k) - 1) / (exp(b) - 1),
//
// s_k = k / (levels - 1) and b = ln(ratio): level 0 is the surface, the last the base, and the
// spacing grows smoothly with depth by the ratio from the top interval to the bottom one
// (b = 0: uniform). A smooth map of a uniform s keeps a second-order scheme second order, and
// the same sigma_k in every column make each level a smooth surface that follows the terrain.
// Nodes are numbered column by column, level fastest: node (i, j, k) = (j nx + i) levels + k, so
// a column's nodes are contiguous and the matrix's bands stay narrow.

#include "dem.h"

#include <span>
#include <vector>

namespace terrain {

class TerrainGrid {
public:
    // heights: the surface, one per DEM node (Dem::heights or a scaled relief).
    TerrainGrid(const Dem& dem, const std::vector<double>& heights, double baseDepthM, int levels,
        double levelSpacingRatio);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int levels() const { return static_cast<int>(m_sigma.size()); }
    std::size_t nodeCount() const { return m_surface.size() * m_sigma.size(); }
    std::size_t node(const int i, const int j, const int k) const
    {
        return (static_cast<std::size_t>(j) * m_columns + i) * m_sigma.size() + k;
    }
    double spacingX() const { return m_spacingX; }
    double spacingY() const { return m_spacingY; }
    double x(const int i) const { return m_originX + i * m_spacingX; }
    double y(const int j) const { return m_originY + j * m_spacingY; }
    double baseDepthM() const { return m_baseDepthM; }
    double sigma(const int k) const { return m_sigma[k]; }
    double surface(const int i, const int j) const
    {
        return m_surface[static_cast<std::size_t>(j) * m_columns + i];
    }
    // z of node (i, j, k), m above sea level.
    double elevation(const int i, const int j, const int k) const
    {
        const double h = surface(i, j);
        return h - (h + m_baseDepthM) * m_sigma[k];
    }

    // Where a point (x, y, z) lies in the grid: its cell (i, j) of the columns, the interval k of
    // the levels, and the trilinear element's local coordinates in [0, 1] (x, y clamped to the
    // DEM, z clamped between the surface and the base). The element's map to (x, y, z) is
    // trilinear in them, so these weights are the finite elements' own interpolation.
    struct Location {
        int i, j, k;
        double xi, eta, zeta;
        double surfaceM; // the surface's elevation above (x, y), bilinear, m
    };
    Location locate(double xM, double yM, double zM) const;

    // The nodal field's value at a location, trilinear (second order, as the scheme).
    double interpolate(std::span<const double> field, const Location& where) const;

private:
    int m_columns, m_rows;
    double m_originX, m_originY, m_spacingX, m_spacingY;
    double m_baseDepthM;
    std::vector<double> m_surface; // h per column, row-major
    std::vector<double> m_sigma; // per level, 0 at the surface to 1 at the base
};

} // namespace terrain
