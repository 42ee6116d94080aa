#pragma once
// Units and physical constants of the age models. Times along a cooling path are in million
// years before present (Ma), temperatures in degrees Celsius; the kinetics work in seconds and
// kelvin, the radial grid of the diffusion model in micrometres.

namespace thermochron {

// One million Julian years (365.25 days) in seconds: the year in which decay constants and
// laboratory annealing and diffusion times are quoted.
inline constexpr double secondsPerMyr = 3.15576e13;
// Years in one million years, to turn decay constants in 1/yr into 1/Myr.
inline constexpr double yearsPerMyr = 1.0e6;
// The molar gas constant, J/(mol K).
inline constexpr double gasConstant = 8.314462618;
// The Avogadro constant, 1/mol (exact in the SI since 2019).
inline constexpr double avogadroConstant = 6.02214076e23;
// 0 C in kelvin.
inline constexpr double zeroCelsiusInKelvin = 273.15;
// Square micrometres in one square centimetre.
inline constexpr double squareMicrometresPerSquareCentimetre = 1.0e8;
// Joules in one kilojoule.
inline constexpr double joulesPerKilojoule = 1.0e3;

} // namespace thermochron
