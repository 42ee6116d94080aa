#pragma once
// Cohorts of tracks born along a path and annealed together: the fission tracks of an apatite,
// or the alpha-recoil damage of a (U-Th)/He grain. Walk the path oldest first and call step()
// once per time step; it anneals every cohort born before the step through it and adds the
// cohort born during it. totals() then sums the reduced densities, each weighted by its cohort's
// size (tracks or alphas made).
//
// Each cohort keeps its equivalent time t at the temperature of the last step as L = ln t - C2
// (see fanningannealing.h), so a change of temperature only scales L. Older cohorts saw all
// that younger ones saw and more, so they are always the more annealed: once the oldest no
// longer count they are dropped from the sums for good.

#include "coolingpath.h"
#include "fanningannealing.h"

#include <cstddef>
#include <vector>

namespace thermochron {

class TrackCohorts {
public:
    explicit TrackCohorts(const AnnealingLaw& law);

    // Anneals the cohorts for durationSeconds (> 0) at temperatureKelvin and adds the cohort born
    // during that time, of the given size, as if it were born at the step's middle.
    void step(double durationSeconds, double temperatureKelvin, double size);

    struct Totals {
        double density = 0; // sum of size x reduced density
        double lengthDensity = 0; // sum of size x reduced length x reduced density
    };
    Totals totals() const;

    // The reduced length of each cohort, oldest first: 0 for those that no longer count.
    std::vector<double> reducedLengths() const;

    // True once the first cohort no longer counts: the path has erased what came before it.
    bool firstErased() const { return m_firstCounted > 0; }

private:
    double reducedLengthOf(double logTime) const;

    AnnealingLaw m_law;
    double m_denominator = 1; // ln(1/T) - C3 of the last step
    double m_erasedLogTime = 0; // L beyond which a track no longer counts, at that temperature
    std::vector<double> m_logTime; // L = ln t - C2 of each cohort, oldest first
    std::vector<double> m_size;
    std::size_t m_firstCounted = 0;
};

// The cohorts of tracks born along steps (oldest first, from cohortSteps): one per step, as
// many as the step is long (Myr), each step annealing at the temperature of its middle.
TrackCohorts annealedAlong(const CoolingPath& steps, const AnnealingLaw& law);

// The steps of cohorts of the law along the path: timeSteps(path, maxTimeStepMyr,
// maxTemperatureStepC), refined towards the end (refinedTowardsEnd, each cohort at most
// ageFraction of its age wide) where the end temperature erases young tracks within the path.
// The youngest cohort is ageFraction / 100 of that erasure time (at least a year), so that its
// reduced density hardly varies across it.
CoolingPath cohortSteps(const CoolingPath& path, const AnnealingLaw& law, double maxTimeStepMyr,
    double maxTemperatureStepC, double ageFraction);

} // namespace thermochron
