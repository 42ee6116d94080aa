#pragma once
// A sweep over erosion rate, START:STOP:STEP in mm/yr: START, START + STEP, ... up to STOP
// (included when the steps reach it to within a millionth of a step).

#include <string_view>
#include <vector>

namespace ages {

// The most rates one sweep may hold: enough for any plot, and a bound on the run time.
inline constexpr int maxSweepRates = 100000;

struct RateSweep {
    double start = 0; // mm/yr, > 0
    double stop = 0; // mm/yr, >= start
    double step = 0; // mm/yr, > 0

    // The rates, each computed as start + k step (no accumulated rounding).
    std::vector<double> rates() const;
};

// Reads "START:STOP:STEP" (three strict numbers). Throws InputError for another form, a STEP
// <= 0, a START <= 0, START > STOP, or more than maxSweepRates rates. Whether each rate suits the
// model is checked by the model.
RateSweep parseRateSweep(std::string_view text);

// The same checks of a sweep given as numbers (the Python module's (start, stop, step)): throws
// InputError naming the rule broken, showing the sweep as typed (shownAs) or, without it, as
// START:STOP:STEP in the shortest form of each number.
RateSweep checkedRateSweep(const RateSweep& sweep, std::string_view shownAs = {});

} // namespace ages
