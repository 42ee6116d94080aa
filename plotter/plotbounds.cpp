#include "plotbounds.h"

#include <cmath>

namespace {

// Moves [min, max] by whole steps of (max - min) / ticks. Without intervals there is no step.
void shiftAxis(double& min, double& max, int ticks, int steps)
{
    if (ticks == 0)
        return;
    const double step = (max - min) / ticks;
    const double distance = step * steps;
    min += distance;
    max += distance;
}

} // namespace

void PlotBounds::shift(int xSteps, int ySteps)
{
    shiftAxis(xMin, xMax, xTicks, xSteps);
    shiftAxis(yMin, yMax, yTicks, ySteps);
}

void PlotBounds::snapToTicks()
{
    snapAxis(xMin, xMax, xTicks);
    snapAxis(yMin, yMax, yTicks);
}

void PlotBounds::snapAxis(double& min, double& max, int& ticks)
{
    // A reversed axis (larger value at the left or bottom end) is rounded as the same range
    // the normal way round, and stays reversed.
    if (max < min) {
        snapAxis(max, min, ticks);
        return;
    }
    const double span = max - min;
    if (!(span > 0.0) || !std::isfinite(span))
        return;

    // The step that would cut the range into four intervals, brought down to the largest power
    // of ten not above it, then up to 5x or 2x that power while that is still strictly smaller:
    // a gross step of exactly 0.5 gives 0.2, so that 0 to 2 gets ten intervals.
    const double grossStep = span * 0.25;
    double step = std::pow(10.0, std::floor(std::log10(grossStep)));
    if (5.0 * step < grossStep)
        step *= 5.0;
    else if (2.0 * step < grossStep)
        step *= 2.0;

    const double lowSteps = std::floor(min / step);
    const double highSteps = std::ceil(max / step);
    ticks = static_cast<int>(highSteps - lowSteps);
    min = lowSteps * step;
    max = highSteps * step;
}
