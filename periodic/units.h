#pragma once
// Unit conversions of the periodic topography model. Inside the model everything is in metres,
// seconds and degrees Celsius; on the command line and in the files rates are in mm/yr, times in
// million years and lapse rates in degrees per kilometre.

namespace periodic {

// One million years of 365 days, in seconds.
inline constexpr double secondsPerMyr = 3.1536e13;
// A rate in mm/yr divided by this is a velocity in m/s (1 mm/yr = 1e-3 m / 3.1536e7 s).
inline constexpr double mmPerYearPerMetrePerSecond = 3.1536e10;
// Metres eroded in one million years at 1 mm/yr.
inline constexpr double metresPerMyrPerMmPerYear = 1000.0;
// A lapse rate in C/km divided by this is a gradient in C/m.
inline constexpr double metresPerKilometre = 1000.0;

} // namespace periodic
