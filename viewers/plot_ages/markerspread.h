#pragma once
// Marker spreading: small x offsets that keep markers at one x from hiding each other.
//
// Jitter: many measured ages drawn at one x (the best rate) would pile up wherever their ages
// are close. Ranked by age, they take turns in five columns, at offsets 0, +2, -2, +1, -1 times
// a column width, so that the nearest ages stand two or more columns apart and only ages five
// ranks apart share a column. The offsets are in pixels (CurveStyle::xPixelOffsets), so that the
// columns keep their distance whatever the window and the picture's size, and depend on the
// ranks alone, so that the picture is the same on every run.
//
// Dodge: the groups of one plot (the systems) side by side around each x, group k of n at
// (k - (n - 1) / 2) steps (of a few pixels), so that two systems of one sample stay apart.

#include <cstddef>
#include <vector>

// The offset of each value's marker, in pixels.
std::vector<int> jitterOffsets(const std::vector<double>& values, int columnWidth);

// The offset of group index of count groups.
double dodgeOffset(std::size_t index, std::size_t count, double step);
