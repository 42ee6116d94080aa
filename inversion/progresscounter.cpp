#include "progresscounter.h"

#include <algorithm>

namespace ages {

namespace {

// An estimate of the total can fall short (a minimiser may take more steps than expected): the
// line then waits just below the end instead of claiming to be done.
constexpr double highestEarlyFraction = 0.99;

} // namespace

ProgressCounter::ProgressCounter(FitProgress progress, double totalUnits)
    : m_progress(std::move(progress))
    , m_totalUnits(std::max(totalUnits, 1e-300))
{
}

void ProgressCounter::advance(double units)
{
    if (!m_progress)
        return;
    const std::lock_guard lock(m_lock);
    m_doneUnits += units;
    m_progress(std::min(highestEarlyFraction, m_doneUnits / m_totalUnits));
}

void ProgressCounter::finish()
{
    if (!m_progress)
        return;
    const std::lock_guard lock(m_lock);
    m_progress(1.0);
}

} // namespace ages
