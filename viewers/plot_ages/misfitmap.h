#pragma once
// plot_ages misfit-map FIT_CSV [--log-y]: chi2 of a history fit over its two parameters, as a
// colour map with the region within the fit's range outlined and the best history marked.
//
// FIT_CSV is the --fit-output of cooling_ages history (historytables.h): of a one-phase fit with
// --fit-base, chi2 over erosion rate (x) and the base (base_temperature_c or
// base_heat_flow_mw_m2, y); of a two-phase fit, chi2 over the change time (start_2_ma, x) and the
// first rate (rate_1_mm_yr, y), the last rate minimised at each (the grid's inner minimisation).
// The file lists every history tried, the grid's nodes and the refinement's trials alike, so the
// map is made of cells: a cell takes the least chi2 of the histories tried within it (the least
// over what the map does not show, as a profile would), or where none was tried that of the
// nearest history tried (distances measured in shares of each axis' span). The colour runs
// from the least chi2 (dark blue) to the top of the scale (yellow) on the ramp of the age maps;
// the top is the least chi2 plus ten times the width of the range's level above it, or the
// highest chi2 if lower, cells above it in its colour; with --log-y the colour is logarithmic in
// chi2 from the least positive to the highest. The legend's colour rows give the scale. The map
// spans the histories whose chi2 lies within the scale and half their span beyond them either
// way, within the histories tried.
//
// The fit marks each history within its range (in_range = yes: chi2 <= chi2_min + max(1, reduced
// chi2), inversion/misfitlevel.h); the outline is drawn at the highest chi2 among them, which
// separates them from the rest, by marching squares over the cells' centres (linear along each
// cell edge).

#include "viewerstartup.h"

#include <QString>

#include <vector>

struct MisfitMapPoint {
    double x = 0.0;
    double y = 0.0;
    double chi2 = 0.0;
    bool inRange = false;
};

struct MisfitMapTable {
    QString xCaption;
    QString yCaption;
    QString xName; // the columns, for the best point's legend
    QString yName;
    std::vector<MisfitMapPoint> points; // those with a chi2
};

// Throws ViewerStartError for a file that is not a fit file of one phase with a fitted base or of
// two phases, or lacks a column or a number.
MisfitMapTable readMisfitMap(const QString& path);

// The outline of the cells at or below level: segments (x0, y0, x1, y1) joined into polylines of
// interleaved x, y values. values: columns x rows of cell values, row 0 at yLow; the cells
// span [xLow, xHigh] x [yLow, yHigh]. Cells beyond the edge count as above the level, so every
// outline closes.
std::vector<std::vector<double>> levelOutline(const std::vector<double>& values, int columns,
    int rows, double level, double xLow, double xHigh, double yLow, double yHigh);

FirstView misfitMapFigure(const QString& fitPath, bool logColour);
