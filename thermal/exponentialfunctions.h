#pragma once
// The functions of exp(x) that the closed-form geotherms need without the cancellation of their
// textbook forms near x = 0, where the erosion rate or the heat-production depth is small:
//
//     phi1(x) = (e^x - 1) / x             (1 at x = 0)
//     phi2(x) = (e^x - 1 - x) / x^2       (1/2 at x = 0)
//     phi1Slope(x) = phi1'(x) = (x e^x - e^x + 1) / x^2   (1/2 at x = 0)
//     phi1Divided(x1, x2) = (phi1(x1) - phi1(x2)) / (x1 - x2)   (phi1' where x1 = x2)
//
// With them, for example, the integral of exp(c s) over 0..d is d phi1(c d) for every c, 0
// included.

#include <cmath>

namespace thermal::exponential {

// Below this |x| the power series serve; their first neglected term is then below 1e-16.
inline constexpr double seriesBound = 1e-3;

inline double phi1(const double x)
{
    return x == 0.0 ? 1.0 : std::expm1(x) / x;
}

inline double phi2(const double x)
{
    if (std::abs(x) < seriesBound)
        return 1.0 / 2.0 + x * (1.0 / 6.0 + x * (1.0 / 24.0 + x / 120.0));
    return (std::expm1(x) - x) / (x * x);
}

inline double phi1Slope(const double x)
{
    if (std::abs(x) < seriesBound)
        return 1.0 / 2.0 + x * (1.0 / 3.0 + x * (1.0 / 8.0 + x / 30.0));
    return (x * std::exp(x) - std::expm1(x)) / (x * x);
}

inline double phi1Divided(const double x1, const double x2)
{
    // Closer than this, the difference quotient would lose more digits (1e-16 / 1e-4) than the
    // slope at the midpoint is off (phi1''' (x1 - x2)^2 / 24, below 1e-9).
    constexpr double closeBound = 1e-4;
    if (std::abs(x1 - x2) < closeBound)
        return phi1Slope(0.5 * (x1 + x2));
    return (phi1(x1) - phi1(x2)) / (x1 - x2);
}

} // namespace thermal::exponential
