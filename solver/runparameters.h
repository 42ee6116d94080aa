#pragma once
// The physical parameters of one solver run, with the defaults of a run without options.

#include "units.h"

#include <array>
#include <map>
#include <string>

namespace erosion {

struct RunParameters {
    double surfaceTemp = 0.0; // T0, degrees Celsius
    double basalGradient = 0.025; // G, degrees Celsius per metre (basal flux / conductivity)
    double maxDepth = 50000.0; // metres
    double diffusivity = 1.3636e-6; // kappa, m^2/s (conductivity / (density x heat capacity))
    double erosionRate = 0.5; // mm/yr, positive under erosion
    double erosionVelocity
        = units::metresPerSecondFromMmPerYear(-0.5); // m/s, negative under erosion
    double historyTime = 10.0; // Myr, a whole number: the rock exposed at this time
    // The times of the four geotherms, in seconds.
    std::array<double, 4> geothermTime { 0.0, 5 * units::secondsPerMyr, 10 * units::secondsPerMyr,
        15 * units::secondsPerMyr };
    // The four temperatures whose depth is followed through time, degrees Celsius.
    std::array<double, 4> isothermTemp { 60.0, 120.0, 250.0, 350.0 };
    // The words given on the command line, by option letter (the last occurrence), so that a
    // refusal can quote what the user typed rather than what it converted to.
    std::map<char, std::string> typedText;

    // Sets the rate (mm/yr) and the velocity (m/s) that follows from it, so that the pair
    // always stands in the relation v = -rate / 3.1536e10.
    void setErosionRate(double mmPerYr)
    {
        erosionRate = mmPerYr;
        erosionVelocity = units::metresPerSecondFromMmPerYear(-mmPerYr);
    }
};

} // namespace erosion
