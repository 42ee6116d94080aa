#pragma once
// How well the ages pin each change time of a history: the profile of chi2 (the misfit minimised
// over every other parameter at each change time of a grid) and the range read off it.
//
// The range is where the profile lies at or below the level
//
//     chi2_min + max(1, reduced chi2),    reduced chi2 = chi2_min / (samples - parameters)
//
// chi2_min + 1 is the one-standard-error interval of one parameter when the errors are right;
// when the reduced chi2 exceeds 1 the errors are taken as understated by the Birge ratio
// sqrt(reduced chi2) and the interval widens to match, as the rate fit's does. Between profile
// points the curve is the parabola through the two points around the crossing and the next one
// towards the minimum (a profile is a parabola near its minimum, and a grid of a dozen change
// times is too coarse for straight lines there), or a straight line where that parabola does not
// cross within the segment. A side that stays within the level up to the last point reaches the
// bound of --change-times, and is flagged: the data cannot exclude that bound.

#include "historyparameters.h"
#include "misfitlevel.h"

#include <vector>

namespace ages {

// The level a history fit's ranges are read at: misfitLevel with the space's degrees of freedom.
MisfitLevel misfitLevel(double chi2Min, const HistorySpace& space);

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

// A profile from histories spread over the space (the sampler's): the lowest chi2 among the
// histories whose change time falls in each of binCount equal bins of the bounds, placed at that
// history's change time. Empty bins are left out.
ChangeTimeProfile sampledProfile(
    const std::vector<TriedHistory>& tried, int change, ValueBounds bounds, int binCount);

} // namespace ages
