#pragma once
// What the history plot draws from many erosion histories: step lines and envelopes of rate.
//
// A history's rate is piecewise constant in time, so its line is a staircase: from the path
// start at the first rate to the first change, a vertical step to the next rate, and so on to
// the present. Many histories (those a fit found within its range, or the samples of a sampler)
// make an envelope: at each time t, a share of the histories' rates at t,
//
//     lower(t) = Q(q_low) and upper(t) = Q(q_high) of { rate_h(t) : every history h },
//
// Q the quantile with linear interpolation between order statistics (Hyndman & Fan 1996,
// Am. Stat. 50:361, their definition 7); q = 0 and 1 give the lowest and highest rate, 0.16 and
// 0.84 the 68 % band, 0.025 and 0.975 the 95 % band. The rate at t is constant between the
// histories' change times, so the envelope is evaluated once between each two of them (exact),
// or, with more change times than a picture has pixels across (a sampler's continuous
// change times), on a grid of equal intervals from the oldest start to the present. The rates
// are kept counted by rank while the time runs from the oldest start to the present, each
// history's change moving one count, so that a chain of 320 000 samples takes a second rather
// than a pass over all of them for every interval.

#include "historytables.h"

#include <vector>

// The rate (mm/yr) of history at timeMa: that of the phase whose span [start_(k+1), start_k)
// holds it; the first rate before the path start, the last at and after the present.
double rateAt(const ErosionHistory& history, double timeMa);

// The staircase (x0, y0, x1, y1, ...) of history from its start to the present (time 0).
std::vector<double> stepLine(const ErosionHistory& history);

// An envelope as a staircase: points (time, upper) and the lower rate at each, both constant
// over each interval (each interval is given by its two ends).
struct RateEnvelope {
    std::vector<double> upper; // x0, y0, x1, y1, ... (time before present, rate)
    std::vector<double> lower; // one rate per point of upper
};

// The envelope between the quantiles lowShare and highShare (0 .. 1) of histories, over at most
// maxIntervals intervals. Empty without histories.
RateEnvelope rateEnvelope(const std::vector<ErosionHistory>& histories, double lowShare,
    double highShare, std::size_t maxIntervals);

// The quantile (0 .. 1) of values by definition 7 above; values is reordered.
double quantile(std::vector<double>& values, double share);
