#pragma once
// The misfit of a grid of erosion rates x values of one other parameter of the model (the base of
// the geotherm, say), read as one fit of both:
//
//     chi2[j * R + i]     the rate i (of R) at the other value j
//
// The rate's range is a profile: at each rate the least chi2 over the other values, refined
// between grid values by the parabola through the lowest value and its neighbours (a coarse grid
// of the other would leave a bumpy envelope of the rate's curves, narrower than the profile). The
// other's range is the profile over the rates the same way. Both are read at the one level of the
// fit (misfitlevel.h) with the degrees of freedom of both parameters. The best point is the
// grid's least chi2 refined along its row (the rate) and its column (the other), so that the best
// rate, the best other and the curve at the best other all describe the one minimum.
//
// The one-phase history fit and the rate fits of the transient and periodic models with
// --fit-base read their grids with it.

#include "misfitlevel.h"
#include "ratefit.h"
#include "changetimerange.h"

#include <cstddef>
#include <vector>

namespace ages {

// The values of one other parameter a grid takes: count (>= 2) evenly spaced from bounds.low to
// bounds.high, both included.
std::vector<double> evenlySpacedValues(ValueBounds bounds, int count);

struct RateGridFit {
    double bestRate = 0; // mm/yr
    double bestOther = 0;
    MisfitLevel level; // at the least chi2 over the grid, refined
    RateFit rateFit; // the rate's profile over the other values, read at level
    RateFit otherFit; // the other's profile over the rates; its bestRate is the best other value
    RateFit rateFitAtBestOther; // the rate's curve at the best grid value of the other alone
};

// A misfit computed off the grid: at the rate rates[rate] and a value of the other between the
// grid's values, where the least chi2 at that rate was sought.
struct RefinedPoint {
    std::size_t rate = 0;
    double other = 0;
    double chi2 = 0;
};

// Reads the grid. rates and others increasing, chi2 of rates.size() x others.size() values (NaN
// where the model could not run), degreesOfFreedom the data less the two fitted parameters.
// With refined points the rate's profile at each rate is the least chi2 the model gave there,
// on the grid or off it, rather than the parabola's estimate between grid values, and the best
// point may be a refined one. Throws std::runtime_error when no value is a number,
// std::invalid_argument for sizes that do not match.
RateGridFit fitRateGrid(const std::vector<double>& rates, const std::vector<double>& others,
    const std::vector<double>& chi2, long degreesOfFreedom,
    const std::vector<RefinedPoint>& refined = {});

// Where to look next for the least chi2 at rate i: the vertex of the parabola through the lowest
// misfit found at that rate (on the grid or among refined) and its neighbours in the other,
// within the grid's ends; NaN when there is nothing to gain (a minimum at an end with no vertex
// inside, or a vertex where the model has run already). A valley of the grid narrower than its
// spacing (the trade-off of a rate and a geotherm that the data pin tightly together) is found
// in a few such steps, where the parabola through coarse values would miss its floor.
double nextOther(const std::vector<double>& others, const std::vector<double>& chi2,
    std::size_t rate, std::size_t rateCount, const std::vector<RefinedPoint>& refined);

} // namespace ages
