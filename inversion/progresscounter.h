#pragma once
// The share of a fit's work done, for a progress line: workers add the units they finish (from
// any thread) and the callback hears the running fraction, one call at a time, never falling.

#include "ratefit.h"

#include <mutex>

namespace ages {

class ProgressCounter {
public:
    // totalUnits > 0: what the whole fit is expected to cost, in the units advance() counts.
    ProgressCounter(FitProgress progress, double totalUnits);

    // Adds units (capped so that the fraction stays below 1 until finish()).
    void advance(double units);
    // Reports 1: the work is done.
    void finish();

private:
    FitProgress m_progress;
    double m_totalUnits;
    double m_doneUnits = 0; // guarded by m_lock
    std::mutex m_lock;
};

} // namespace ages
