#pragma once
// One predicted age with everything that locates it: the erosion rate and profile point it
// belongs to (where there are such), the system and method, and the age itself; for an apatite
// fission-track age by annealing, the predicted track lengths as well.

#include "thermochron/age.h"
#include "thermochron/system.h"

#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// The confined-track lengths an apatite fission-track row predicts (thermochron/tracklengths.h):
// mean and standard deviation of the c-axis projected and of the unprojected distribution, um,
// and, when the settings keep them, the share of tracks in each 0.1 um bin from 0 to 20 um.
struct PredictedLengths {
    static constexpr double none = std::numeric_limits<double>::quiet_NaN();

    double projectedMeanUm = none;
    double projectedSdUm = none;
    double unprojectedMeanUm = none;
    double unprojectedSdUm = none;
    std::vector<double> projectedBins; // empty unless AgeSettings::keepLengthBins
    std::vector<double> unprojectedBins;
};

struct AgeRow {
    static constexpr double none = std::numeric_limits<double>::quiet_NaN();

    double rateMmYr = none; // the model's erosion rate, mm/yr; NaN for a path file
    double xM = none; // periodic profile position, or terrain sample's x (east), m
    double yM = none; // terrain sample's y (north), m
    double elevationM = none; // periodic surface height, or terrain sample's elevation, m
    std::string sample; // terrain: the measured sample the rock is
    std::string_view site; // ridge, mid_slope, valley or empty
    thermochron::System system = thermochron::System::AHe;
    thermochron::Method method = thermochron::Method::Dodson;
    thermochron::Age age;
    double closureDepthM = none; // the rock's depth at the age, m; NaN where unknown
    PredictedLengths lengths; // AFT by annealing; NaN elsewhere
};

} // namespace ages
