#pragma once
// One predicted age with everything that locates it: the erosion rate and profile point it
// belongs to (where there are such), the system and method, and the age itself.

#include "thermochron/age.h"
#include "thermochron/system.h"

#include <limits>
#include <string>
#include <string_view>

namespace ages {

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
};

} // namespace ages
