#pragma once
// The surface profile across which the periodic model is shown and dated: pointCount points from
// -lambda to lambda (a ridge in the middle and at both ends, valleys at +-lambda / 2), and the
// three named sites whose cooling histories periodic_topography writes: the ridge crest, the
// point half-way down the slope and the valley floor.
//
// periodic_topography draws its topography and isotherms at profileX; cooling_ages dates the
// rocks at every profilePoints point, named sites included.

#include "periodicparameters.h"
#include "steadystate.h"

#include <array>
#include <string_view>
#include <vector>

namespace periodic {

// A place on the profile named by where it lies in the wavelength.
struct NamedSite {
    std::string_view name;
    double wavelengths = 0; // x / lambda

    double xM(double wavelength) const { return wavelengths * wavelength; }
};

inline constexpr NamedSite ridgeSite { "ridge", 0.0 }; // the crest, x = 0
inline constexpr NamedSite midSlopeSite { "mid_slope", 0.25 }; // at the mean level
inline constexpr NamedSite valleySite { "valley", 0.5 }; // the floor
inline constexpr std::array<NamedSite, 3> namedSites { ridgeSite, midSlopeSite, valleySite };

// The x (m) of profile point i of pointCount (>= 2): -lambda + 2 lambda i / (pointCount - 1),
// written as a difference of two exact products so that the centre and both ends come out as
// exactly 0 and +-lambda.
double profileX(double wavelength, int pointCount, int i);

// One surface point of the profile: where it lies and how it is named.
struct ProfilePoint {
    double xM = 0; // horizontal position, m; ridges at 0 and +-lambda
    double elevationM = 0; // surface height above the mean level, h(x), m
    std::string_view site; // a NamedSite's name, or empty
};

// The pointCount points of profileX, with the three named sites added in their place where the
// spacing misses them, in order of x. An elevation within rounding of the mean level (cos(k x)
// at a quarter wavelength comes out as 6e-17, not 0) is the mean level, 0.
std::vector<ProfilePoint> profilePoints(
    const PeriodicSteadyState& model, const PeriodicParameters& parameters);

} // namespace periodic
