#include "dem.h"

#include <algorithm>
#include <cmath>

namespace terrain {

double Dem::lowest() const
{
    return heights.empty() ? 0.0 : *std::min_element(heights.begin(), heights.end());
}

double Dem::highest() const
{
    return heights.empty() ? 0.0 : *std::max_element(heights.begin(), heights.end());
}

bool Dem::contains(const double xM, const double yM) const
{
    return xM >= originX && xM <= x(columns - 1) && yM >= originY && yM <= y(rows - 1);
}

double Dem::surfaceAt(const double xM, const double yM) const
{
    const double u = std::clamp((xM - originX) / spacingX, 0.0, columns - 1.0);
    const double v = std::clamp((yM - originY) / spacingY, 0.0, rows - 1.0);
    const int i = std::min(static_cast<int>(u), columns - 2);
    const int j = std::min(static_cast<int>(v), rows - 2);
    const double a = u - i, b = v - j;
    return (1 - b) * ((1 - a) * height(i, j) + a * height(i + 1, j))
        + b * ((1 - a) * height(i, j + 1) + a * height(i + 1, j + 1));
}

std::string demError(const Dem& dem)
{
    if (dem.columns < 2 || dem.rows < 2)
        return "the DEM has " + std::to_string(dem.columns) + " x " + std::to_string(dem.rows)
            + " nodes: the model needs at least 2 x 2";
    if (!(dem.spacingX > 0.0 && dem.spacingY > 0.0 && std::isfinite(dem.spacingX)
            && std::isfinite(dem.spacingY)))
        return "the DEM's node spacing must be finite and above 0 m";
    if (dem.heights.size() != static_cast<std::size_t>(dem.columns) * dem.rows)
        return "the DEM holds " + std::to_string(dem.heights.size()) + " heights for "
            + std::to_string(dem.columns) + " x " + std::to_string(dem.rows) + " nodes";
    if (!std::all_of(
            dem.heights.begin(), dem.heights.end(), [](double h) { return std::isfinite(h); }))
        return "the DEM has a height that is not a finite number (a hole left unfilled)";
    return {};
}

std::vector<double> scaledRelief(const Dem& dem, const double factor)
{
    const double lowest = dem.lowest();
    std::vector<double> heights(dem.heights.size());
    std::transform(dem.heights.begin(), dem.heights.end(), heights.begin(),
        [&](const double h) { return lowest + factor * (h - lowest); });
    return heights;
}

} // namespace terrain
