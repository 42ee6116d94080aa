#include "zirconannealing.h"

#include <cmath>

namespace thermochron {

namespace {

// Reduced density against reduced length of zircon tracks, Guenthner et al. (2013), Am. J. Sci.
// 313:145: rho = (r - 0.2) / 0.8 = 1.25 (r - 0.2).
constexpr double densityOffset = 0.2;
constexpr double densityPerLength = 1.25;

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};

} // namespace

double zirconTrackDensity(double length)
{
    return length >= shortestCountedZirconTrack ? densityPerLength * (length - densityOffset) : 0.0;
}

double annealingIndex(const ZirconAnnealing& fit, double logTime, double kelvin)
{
    const double logInverseT = std::log(1.0 / kelvin);
    return std::visit(
        Overloaded { // X = ln t - c2 ln(1/T)
            [&](const ParallelCurvilinearFit& f) { return logTime - f.c2 * logInverseT; },
            // S = (ln t - C2) / (ln(1/T) - C3)
            [&](const FanningCurvilinearFit& f) {
                return (logTime - f.c2) / (logInverseT - f.c3);
            } },
        fit);
}

double equivalentLogTime(const ZirconAnnealing& fit, double index, double kelvin)
{
    const double logInverseT = std::log(1.0 / kelvin);
    return std::visit(
        Overloaded { [&](const ParallelCurvilinearFit& f) { return index + f.c2 * logInverseT; },
            [&](const FanningCurvilinearFit& f) { return f.c2 + index * (logInverseT - f.c3); } },
        fit);
}

double zirconReducedLength(const ZirconAnnealing& fit, double index)
{
    return std::visit(Overloaded { // r = exp(-exp(c0 + c1 X))
                          [&](const ParallelCurvilinearFit& f) {
                              return std::exp(-std::exp(f.c0 + f.c1 * index));
                          },
                          // r = 1 / (g^(1/alpha) + 1), g = C0 + C1 S; none left where g <= 0.
                          [&](const FanningCurvilinearFit& f) {
                              const double g = f.c0 + f.c1 * index;
                              return g > 0 ? 1.0 / (std::pow(g, 1.0 / f.alpha) + 1.0) : 0.0;
                          } },
        fit);
}

double erasureIndex(const ZirconAnnealing& fit)
{
    const double r = shortestCountedZirconTrack;
    return std::visit(Overloaded { [&](const ParallelCurvilinearFit& f) {
                                      return (std::log(-std::log(r)) - f.c0) / f.c1;
                                  },
                          [&](const FanningCurvilinearFit& f) {
                              return (std::pow(1.0 / r - 1.0, f.alpha) - f.c0) / f.c1;
                          } },
        fit);
}

double zirconReducedLength(const ZirconAnnealing& fit, double timeSeconds, double kelvin)
{
    return zirconReducedLength(fit, annealingIndex(fit, std::log(timeSeconds), kelvin));
}

} // namespace thermochron
