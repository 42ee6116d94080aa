#include "caxisprojection.h"

#include <boost/math/tools/roots.hpp>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace thermochron {

namespace {

// The ellipse of Donelick, Ketcham and Carlson (1999), Am. Mineral. 84:1224:
// la = 1.632 lc - 10.879 um.
constexpr double axisRatioSlope = 1.632;
constexpr double axisRatioOffsetUm = 10.879;
// Tracks of lc above this follow the ellipse at every angle, um.
constexpr double ellipseOnlyAboveUm = 12.96;
// The angle beyond which a short track leaves the ellipse: theta_alr = 0.304 exp(0.439 lc), deg.
constexpr double leavingAngleScaleDeg = 0.304;
constexpr double leavingAnglePerUm = 0.439;
// The line of high-angle tracks: y = (0.1035 theta_alr - 2.250) + x tan(theta_alr).
constexpr double lineOffsetPerDeg = 0.1035;
constexpr double lineOffsetUm = 2.250;

constexpr double degree = std::numbers::pi / 180;
// Bisection to the last bits of a double.
constexpr int bisectionBits = 52;

double bisect(auto f, double low, double high)
{
    const auto [a, b] = boost::math::tools::bisect(
        f, low, high, boost::math::tools::eps_tolerance<double>(bisectionBits));
    return 0.5 * (a + b);
}

} // namespace

double caxisProjectedLengthUm(double lengthUm, double angleDegrees)
{
    if (!(lengthUm > 0) || !std::isfinite(lengthUm))
        throw std::invalid_argument("a track length must be a positive number of um");
    if (!(angleDegrees >= 0 && angleDegrees <= 90))
        throw std::invalid_argument("a track's angle to the c axis must be from 0 to 90 degrees");
    const double x = lengthUm * std::cos(angleDegrees * degree);
    const double y = lengthUm * std::sin(angleDegrees * degree);

    // Along the c axis the track is its own projection.
    if (y == 0)
        return lengthUm;
    // x^2 / lc^2 + y^2 / la^2 - 1 falls as lc grows. It is positive where la = 1.632 lc - 10.879
    // vanishes or lc = x, whichever is the larger lc, and negative once lc is large enough.
    const auto ellipse = [&](double lc) {
        const double la = axisRatioSlope * lc - axisRatioOffsetUm;
        return x * x / (lc * lc) + y * y / (la * la) - 1.0;
    };
    const double lowest = std::max(x, axisRatioOffsetUm / axisRatioSlope) * (1 + 1e-12);
    double highest = std::max(lowest, lengthUm) + axisRatioOffsetUm;
    while (ellipse(highest) > 0)
        highest *= 2;
    const double onEllipse = bisect(ellipse, lowest, highest);
    if (onEllipse > ellipseOnlyAboveUm)
        return onEllipse;
    const double leaving = leavingAngleScaleDeg * std::exp(leavingAnglePerUm * onEllipse);
    if (angleDegrees < leaving)
        return onEllipse;

    // The line's y rises with theta_alr from its value at 0 towards infinity at 90 degrees;
    // a track across the c axis (x = 0) meets it only there, at the longest lc of the line.
    const auto line = [&](double thetaDeg) {
        return lineOffsetPerDeg * thetaDeg - lineOffsetUm + x * std::tan(thetaDeg * degree) - y;
    };
    const double steepest = 90.0 * (1 - 1e-12);
    const double angle = line(steepest) > 0 ? bisect(line, 0.0, steepest) : 90.0;
    return std::log(angle / leavingAngleScaleDeg) / leavingAnglePerUm;
}

} // namespace thermochron
