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

// The same on a logarithmic axis: whole steps of log10(max / min) / ticks, so that a window of
// three decades over three intervals moves by one decade a step.
void shiftLogAxis(double& min, double& max, int ticks, int steps)
{
    if (ticks == 0 || !(min > 0.0) || !(max > 0.0))
        return;
    const double factor = std::pow(max / min, static_cast<double>(steps) / ticks);
    min *= factor;
    max *= factor;
}

} // namespace

void PlotBounds::shift(int xSteps, int ySteps)
{
    shiftAxis(xMin, xMax, xTicks, xSteps);
    if (yLog)
        shiftLogAxis(yMin, yMax, yTicks, ySteps);
    else
        shiftAxis(yMin, yMax, yTicks, ySteps);
}

void PlotBounds::snapToTicks()
{
    snapAxis(xMin, xMax, xTicks);
    if (yLog)
        snapLogAxis(yMin, yMax, yTicks);
    else
        snapAxis(yMin, yMax, yTicks);
}

void PlotBounds::snapLogAxis(double& min, double& max, int& ticks)
{
    if (max < min) {
        snapLogAxis(max, min, ticks);
        return;
    }
    if (!(min > 0.0) || !std::isfinite(max))
        return;
    const double low = std::floor(std::log10(min));
    double high = std::ceil(std::log10(max));
    if (high <= low) // a power of ten itself: one decade above it
        high = low + 1.0;
    ticks = static_cast<int>(high - low);
    min = std::pow(10.0, low);
    max = std::pow(10.0, high);
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
