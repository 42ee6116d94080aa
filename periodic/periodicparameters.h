#pragma once
// Run parameters of periodic_topography, in the units of its command line, with their defaults,
// their checks and their conversion to the SI problem of the steady-state model.

#include "steadystate.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace periodic {

struct PeriodicParameters {
    double erosionRate = 0.5; // -r, mm/yr, > 0
    double diffusivity = 1.3636e-6; // -a, m2/s, > 0
    double surfaceTemp = 0.0; // -T, C at the mean surface level
    double lapseRate = 6.5; // -L, C/km: the surface is colder by this much per km up
    double basalTemp = 1250.0; // -b, C
    double basalDepth = 50000.0; // -z, m below the mean surface level
    double wavelength = 20000.0; // -w, m
    double reliefAmplitude = 1000.0; // -A, m: ridge crests h0 above, valley floors h0 below
    std::array<double, 4> isothermTemp { 60.0, 120.0, 250.0, 350.0 }; // -i -j -k -l, C
    double historyDuration = 20.0; // -o, Myr
    int pointCount = 401; // -n, points per profile and per history
};

// The most points a profile or history may have: a 0.4 m spacing across the default profile, and
// a bound on the run time (some seconds per 10 000 points).
inline constexpr int maxPointCount = 100000;

// The lowest temperature there is, C.
inline constexpr double absoluteZero = -273.15;

// The first value that the model cannot take, as a message naming its option and the accepted
// range (without the "ERROR: " prefix); nullopt when every value is usable. The steepness of the
// relief is judged after the fit, from its surface residual.
std::optional<std::string> parameterError(const PeriodicParameters& parameters);

// Values the model can take but which give an empty result, one message each (without the
// "WARNING: " prefix): an isotherm outside the model's range of temperatures, which is nowhere
// met. Meaningful once parameterError has found nothing.
std::vector<std::string> parameterWarnings(const PeriodicParameters& parameters);

// The same problem in m, s and C.
SteadyStateProblem toProblem(const PeriodicParameters& parameters);

} // namespace periodic
