#pragma once
// The c-axis projection of a confined track measured with its angle to the crystal's c axis
// (Donelick, Ketcham and Carlson 1999, Am. Mineral. 84:1224, as Ketcham et al. 2007 use it).
// Tracks anneal faster across the c axis than along it, so a track's length depends on its
// angle; projecting each onto the c axis makes lengths of any angle comparable.
//
// With x = l cos(theta) and y = l sin(theta) the track lies on the ellipse
//     x^2 / lc^2 + y^2 / la^2 = 1,   la = 1.632 lc - 10.879 um,
// whose c-axis semi-axis lc is the projected length. Short, strongly annealed tracks do not
// follow the ellipse at high angles: below lc = 12.96 um, for theta at or above
//     theta_alr = 0.304 exp(0.439 lc) degrees
// they lie on the line y = (0.1035 theta_alr - 2.250) + x tan(theta_alr), solved for theta_alr,
// and lc = ln(theta_alr / 0.304) / 0.439.

namespace thermochron {

// The c-axis projected length (um) of a track of lengthUm (> 0) at angleDegrees (0 to 90) to
// the c axis. Throws std::invalid_argument outside those ranges.
double caxisProjectedLengthUm(double lengthUm, double angleDegrees);

} // namespace thermochron
