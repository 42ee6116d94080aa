#pragma once
// The depth grid: nodes one erosion step apart (the thickness eroded in a million years), from
// the surface down to the model's base. The grid also sets the time axis: as many whole million
// years as there are nodes.

#include <cstdint>
#include <vector>

namespace erosion {

struct DepthGrid {
    double nodeSpacing = 0.0; // m
    std::vector<double> nodeZ; // node coordinates, surface (0) first, -maxDepth last

    int nodeCount() const { return static_cast<int>(nodeZ.size()); }
};

// The thickness (m) eroded in one million years at erosionRate mm/yr.
double nodeSpacingFor(double erosionRate);

// An upper bound of the node count for maxDepth and nodeSpacing (both > 0), computed without
// building anything: maxDepth / nodeSpacing + 3, in floating point so it cannot overflow.
double nodeCountBound(double maxDepth, double nodeSpacing);

// The node count, by repeated addition: from z = -maxDepth add nodeSpacing while z < nodeSpacing.
// The same sums place the nodes, so count and coordinates always agree. Both values must be
// positive and nodeCountBound must have been checked (the loop stops there in any case).
int countNodes(double maxDepth, double nodeSpacing);

// The grid itself. Below the surface the nodes lie at -maxDepth + k nodeSpacing; when maxDepth
// is not a multiple of the spacing, the interval just below the surface is the shorter remainder.
DepthGrid buildGrid(double maxDepth, double nodeSpacing);

} // namespace erosion
