#include "grid.h"

#include "units.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace erosion {

double nodeSpacingFor(double erosionRate)
{
    return erosionRate * units::metresPerMyrPerMmPerYear;
}

double nodeCountBound(double maxDepth, double nodeSpacing)
{
    // Exactly maxDepth / spacing + 1 or floor(maxDepth / spacing) + 2 nodes; one more for the
    // rounding of the repeated sums.
    return std::floor(maxDepth / nodeSpacing) + 3.0;
}

int countNodes(double maxDepth, double nodeSpacing)
{
    const double limit = std::min(nodeCountBound(maxDepth, nodeSpacing), double(INT_MAX));
    int count = 0;
    for (double z = -maxDepth; z < nodeSpacing && count < limit; z += nodeSpacing)
        ++count;
    return count;
}

DepthGrid buildGrid(double maxDepth, double nodeSpacing)
{
    const int count = countNodes(maxDepth, nodeSpacing);

    // Bottom-up with the same sums as the count; the topmost sum may overshoot the surface.
    std::vector<double> upward(count);
    double z = -maxDepth;
    for (int k = 0; k < count; ++k, z += nodeSpacing)
        upward[k] = z;
    if (count > 0 && upward.back() > 0.0)
        upward.back() = 0.0;

    DepthGrid grid;
    grid.nodeSpacing = nodeSpacing;
    grid.nodeZ.assign(upward.rbegin(), upward.rend());
    return grid;
}

} // namespace erosion
