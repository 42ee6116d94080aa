#pragma once
// Unit conversions of the solver. Inside it everything is metres, seconds and degrees Celsius;
// the command line and the files speak million years and millimetres per year.

namespace erosion {

// One million years of 365 days: 1e6 x 365 x 86400 s.
constexpr double secondsPerMyr = 3.1536e13;

// A rate in mm/yr divided by this is a speed in m/s (1e3 mm/m x 365 x 86400 s/yr).
constexpr double mmPerYrPerMetrePerSecond = 3.1536e10;

// Metres eroded in one million years at 1 mm/yr.
constexpr double metresPerMyrPerMmPerYr = 1000.0;

} // namespace erosion
