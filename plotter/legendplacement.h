#pragma once
// Legend placement: the place for a legend box where it hides the least of the data.
//
// A plot with many samples has data in most of its frame, and a legend box in a fixed corner
// would cover some of it. The candidates are the four corners of the plot rectangle and the
// middles of its top and bottom edges, each as far inside the frame as the preferred box; each
// is scored by how much of the curves it would hide: the length in pixels of every drawn line,
// error bar, vertical or horizontal line and edge of a shaded area inside it, and for every marker
// whose centre it holds as much as a stretch of line as long as the marker is wide. Translucent
// bands across the plot are not counted (no place would be free of them). The lowest score wins; of equal scores the
// preferred place, then the candidates in the order above.
//
//   const QRect box = placeLegend(preferred, layout, bounds, curves, style.curveStyles);

#include "curvestyle.h"
#include "plotbounds.h"
#include "plotlayout.h"

#include <QRect>

#include <map>
#include <vector>

// How much of the curves a box at area would hide (see above).
double hiddenData(const QRect& area, const PlotLayout& layout, const PlotBounds& bounds,
    const std::map<int, std::vector<double>>& curves, const std::map<int, CurveStyle>& styles);

// The candidate of least hidden data, for a box of preferred's size; preferred is the box at
// its usual place inside the plot rectangle.
QRect placeLegend(const QRect& preferred, const PlotLayout& layout, const PlotBounds& bounds,
    const std::map<int, std::vector<double>>& curves, const std::map<int, CurveStyle>& styles);
