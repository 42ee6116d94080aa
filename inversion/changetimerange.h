#pragma once
// How well the ages pin one change time of an erosion history: the range read off its profile of
// chi2 (the misfit minimised over every other parameter at each change time of a grid).
//
// The range is where the profile lies at or below a level (the history fits read it at
// chi2_min + max(1, reduced chi2), misfitlevel.h). Between profile points the curve is the
// parabola through the two points around the crossing and the next one towards the minimum (a
// profile is a parabola near its minimum, and a grid of a dozen change times is too coarse for
// straight lines there), or a straight line where that parabola does not cross within the
// segment. A side that stays within the level up to the last point reaches the bound of
// --change-times, and is flagged: the data cannot exclude that bound.
//
// The program that fits and plot_ages, which draws the profile file, read ranges with this one
// function, so the picture shows the numbers the fit printed.

#include <vector>

namespace ages {

// An interval of values, ends included.
struct ValueBounds {
    double low = 0;
    double high = 0;

    bool contains(double value) const { return value >= low && value <= high; }
};

struct ChangeTimeProfile {
    int change = 1; // 1 for the oldest change time, 2 for the next
    std::vector<double> changeTimesMa; // increasing
    std::vector<double> chi2; // one per change time; NaN where no history could be run
    double bestMa = 0; // where the profile is lowest
    double rangeLowMa = 0;
    double rangeHighMa = 0;
    bool rangeReachesLowBound = false;
    bool rangeReachesHighBound = false;
};

// Finds the lowest point and the range at level on a profile whose points are already set.
// bounds: --change-times, the ends a range reaching the first or last point takes.
void readRange(ChangeTimeProfile& profile, double level, ValueBounds bounds);

} // namespace ages
