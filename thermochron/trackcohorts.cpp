#include "trackcohorts.h"

#include "physicalconstants.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace thermochron {

namespace {

// The youngest cohort near the present, as a share of ageFraction times the erasure time...
constexpr double youngestCohortShare = 0.01;
// ... but no shorter than a year: a path that ends so hot leaves an age of less than that.
constexpr double shortestCohortMyr = 1e-6;

} // namespace

CoolingPath cohortSteps(const CoolingPath& path, const AnnealingLaw& law, double maxTimeStepMyr,
    double maxTemperatureStepC, double ageFraction)
{
    const double erasureMyr
        = erasureTimeSeconds(law, path.back().temperatureC + zeroCelsiusInKelvin) / secondsPerMyr;
    return refinedTowardsEnd(timeSteps(path, maxTimeStepMyr, maxTemperatureStepC),
        std::max(shortestCohortMyr, youngestCohortShare * ageFraction * erasureMyr), ageFraction);
}

TrackCohorts::TrackCohorts(const AnnealingLaw& law)
    : m_law(law)
{
}

void TrackCohorts::step(double durationSeconds, double temperatureKelvin, double size)
{
    const FanningFit& fit = m_law.fit;
    const double denominator = std::log(1.0 / temperatureKelvin) - fit.c3;
    // The youngest erased cohort is followed too: it places the edge of erasure (see totals).
    const std::size_t from = m_firstCounted > 0 ? m_firstCounted - 1 : 0;
    const std::size_t count = m_logTime.size();
    if (denominator != m_denominator) {
        // The same annealing at the new temperature: ln t' - C2 = (ln t - C2) d' / d.
        const double ratio = denominator / m_denominator;
        for (std::size_t i = from; i < count; ++i)
            m_logTime[i] *= ratio;
    }
    m_denominator = denominator;
    // ln(t + dt) - C2 = L + ln(1 + dt / t), t = e^(L + C2).
    const double logDuration = std::log(durationSeconds);
    for (std::size_t i = from; i < count; ++i)
        m_logTime[i] += std::log1p(std::exp(logDuration - m_logTime[i] - fit.c2));
    m_logTime.push_back(logDuration - std::numbers::ln2 - fit.c2);
    m_size.push_back(size);

    // Erased from the equivalent time that erases a track at this temperature (a longer time
    // always means a shorter track, whatever the signs of C1 and alpha).
    m_erasedLogTime = std::log(erasureTimeSeconds(m_law, temperatureKelvin)) - fit.c2;
    while (m_firstCounted < m_logTime.size() && m_logTime[m_firstCounted] >= m_erasedLogTime)
        ++m_firstCounted;
}

double TrackCohorts::reducedLengthOf(double logTime) const
{
    const FanningFit& fit = m_law.fit;
    return reducedLength(m_law, fittedLengthOfG(fit, fit.c0 + fit.c1 * logTime / m_denominator));
}

std::vector<double> TrackCohorts::reducedLengths() const
{
    std::vector<double> lengths(m_logTime.size(), 0.0);
    for (std::size_t i = m_firstCounted; i < lengths.size(); ++i)
        lengths[i] = reducedLengthOf(m_logTime[i]);
    return lengths;
}

TrackCohorts annealedAlong(const CoolingPath& steps, const AnnealingLaw& law)
{
    TrackCohorts cohorts(law);
    for (std::size_t j = 0; j + 1 < steps.size(); ++j) {
        const double durationMyr = steps[j].timeMa - steps[j + 1].timeMa;
        const double temperature
            = 0.5 * (steps[j].temperatureC + steps[j + 1].temperatureC) + zeroCelsiusInKelvin;
        cohorts.step(durationMyr * secondsPerMyr, temperature, durationMyr);
    }
    return cohorts;
}

TrackCohorts::Totals TrackCohorts::totals() const
{
    Totals sums;
    const std::size_t count = m_logTime.size();
    for (std::size_t i = m_firstCounted; i < count; ++i) {
        const double length = reducedLengthOf(m_logTime[i]);
        const double density = m_law.reducedDensity(length);
        sums.density += m_size[i] * density;
        sums.lengthDensity += m_size[i] * length * density;
    }
    // Each cohort counts whole or not at all as its middle passes the edge of erasure; the edge
    // itself lies between the oldest counted cohort and the youngest erased one. With L linear
    // in the cumulative size between their middles, the size counted beyond the middle of the
    // oldest counted cohort is share (s_i + s_(i-1)) / 2, not s_i / 2: count the difference with
    // the density halfway from that cohort to the edge.
    if (m_firstCounted > 0 && m_firstCounted < count) {
        const std::size_t oldest = m_firstCounted, erased = m_firstCounted - 1;
        const double share = (m_erasedLogTime - m_logTime[oldest])
            / (m_logTime[erased] - m_logTime[oldest]);
        const double extra
            = share * 0.5 * (m_size[oldest] + m_size[erased]) - 0.5 * m_size[oldest];
        const double length
            = 0.5 * (reducedLengthOf(m_logTime[oldest]) + m_law.shortestCountedLength);
        const double density = m_law.reducedDensity(length);
        sums.density += extra * density;
        sums.lengthDensity += extra * length * density;
    }
    return sums;
}

} // namespace thermochron
