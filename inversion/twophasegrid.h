#pragma once
// The fit of a two-phase erosion history (first rate r1 from the path start to the change time t,
// last rate r2 from t to the present) by a grid with inner minimisations, then a local refinement.
//
// 1. The grid: change times evenly spaced across --change-times, first rates spaced by a constant
//    ratio across --rates (ages vary about as 1/rate, so equal ratios are about equal steps in
//    age). At every node the last rate is minimised by Brent's method (Boost's
//    brent_find_minima) in ln r2 over the whole of --rates.
// 2. The profile: at every change time, the first rate is minimised by Brent's method between the
//    grid rates on either side of that row's best node, each trial with its own inner
//    minimisation of r2. That is chi2 minimised over both rates at each change time.
// 3. The refinement: the downhill simplex in (r1, t, r2) from the profile's lowest point, with
//    initial steps of half a grid step. Between grid change times a grid can only place the
//    minimum to within a step; three parameters settle in tens of evaluations where a finer local
//    grid costs 27 for each halving of the step.
// Rows of the grid and the profile's change times run in parallel, each row in its own fixed
// order, so the result does not depend on the thread count. The profile gets the refined minimum
// as one more point, and the range of the change time is read off it. With the space's other
// parameter (historyparameters.h) the grid has a third dimension, its values, and the other's
// profile (the least chi2 at each value) gives its best value and range.

#include "historyfitresult.h"
#include "historyparameters.h"
#include "parallelfor.h"
#include "ratefit.h"

namespace ages {

struct GridFitSettings {
    // Defaults sized for a misfit of a few ms on two cores: about 2000 evaluations in all (see the
    // engine's tests for the count), some 4 to 6 s.
    int changeTimeCount = 12; // >= 2
    int firstRateCount = 8; // >= 2
    int refinementEvaluations = 100; // the simplex's cap
    // With the space's other parameter: its values, evenly spaced; every change time's row runs
    // at each, the profile of the change time is the least over them, and the simplex refines
    // the other parameter too. Three (the bounds and their middle) keep the fit within some
    // three times the cost of one without it; the other's own profile is then the parabola
    // through them and the refined minimum.
    int otherCount = 3;
    unsigned threads = defaultThreadCount();
};

// The space must have two phases and no error (historySpaceError). Throws std::invalid_argument
// for settings out of range; an exception from the misfit ends the fit and is passed on.
HistoryFit fitTwoPhaseGrid(const HistorySpace& space, const HistoryMisfit& misfit,
    const GridFitSettings& settings = {}, const FitProgress& progress = {});

} // namespace ages
