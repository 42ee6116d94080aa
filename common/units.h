#pragma once
// Unit conversions shared by the models. Inside them everything is metres, seconds and degrees
// Celsius; the command lines and the files speak million years, millimetres per year and, for
// lapse rates, degrees per kilometre. The year is the 365-day year throughout.

namespace units {

// 365 days of 86400 s.
inline constexpr double secondsPerYear = 365.0 * 86400.0; // 3.1536e7 s

// One million years: 3.1536e13 s.
inline constexpr double secondsPerMyr = 1.0e6 * secondsPerYear;

// A rate in mm/yr divided by this is a speed in m/s (1e3 mm/m x 3.1536e7 s/yr = 3.1536e10).
inline constexpr double mmPerYearPerMetrePerSecond = 1.0e3 * secondsPerYear;

// A rate in mm/yr as a speed in m/s: rate / 3.1536e10.
constexpr double metresPerSecondFromMmPerYear(double mmPerYear)
{
    return mmPerYear / mmPerYearPerMetrePerSecond;
}

// Metres eroded in one million years at 1 mm/yr (1e-3 m/yr x 1e6 yr).
inline constexpr double metresPerMyrPerMmPerYear = 1000.0;

// A lapse rate in C/km divided by this is a gradient in C/m.
inline constexpr double metresPerKilometre = 1000.0;

} // namespace units
