// Burial then erosion against an independent run of the column: an explicit finite-difference
// solution of the same advection-diffusion problem, written here from the equation alone, with
// the rock's depth integrated from the rate in the test itself. The model (Crank-Nicolson on a
// graded grid, historypath.h) and this solution share nothing but the physics.

#include "historypath.h"
#include "units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace thermal;

namespace {

// The rate u(t) in mm/yr at t Ma (erosion positive, burial negative).
using Rate = std::function<double(double timeMa)>;

// The path of the rock exposed today under rate u from startMa, the column L deep with T0 at
// the surface and Tb held at the base, no heat production, starting from the steady line:
//
//     dT/dt = kappa d2T/dd2 + u(t) dT/dd,       d the depth below the surface (m),
//
// central differences on nodes h apart, forward Euler steps of at most 0.4 h^2 / kappa (stable
// below 0.5), each phase cut into whole steps so that every change of rate is a step boundary.
// The rock's depth at t is the erosion after t: D(start) = integral of u, then dD = -u dt.
// Returns the temperature of the rock at each of the times asked (decreasing).
std::vector<double> explicitPath(const ThermalParameters& p, const Rate& rate,
    const std::vector<double>& phaseStartsMa, const std::vector<double>& askedMa)
{
    const double h = 100.0, kappa = p.diffusivityM2s;
    const int intervals = static_cast<int>(std::lround(p.baseDepthM / h));
    std::vector<double> T(intervals + 1), next(intervals + 1);
    for (int i = 0; i <= intervals; ++i)
        T[i] = p.surfaceTemperatureC
            + (p.baseTemperatureC - p.surfaceTemperatureC) * i / double(intervals);
    const double metresPerSecond = 1e-3 / units::secondsPerYear; // 1 mm/yr
    const double longestStepS = 0.4 * h * h / kappa;

    // D at the start: the integral of the rate over the whole history, by the midpoint rule on
    // a fine grid of each phase.
    std::vector<double> bounds = phaseStartsMa;
    bounds.push_back(0.0);
    double depthM = 0.0;
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        const int n = 200000;
        const double dtMa = (bounds[k] - bounds[k + 1]) / n;
        for (int j = 0; j < n; ++j)
            depthM += rate(bounds[k] - (j + 0.5) * dtMa) * dtMa * 1000.0; // 1 mm/yr x 1 Myr
    }

    const auto rockTemperature = [&] {
        const double x = std::clamp(depthM / h, 0.0, double(intervals));
        const int i = std::min(static_cast<int>(x), intervals - 1);
        return T[i] + (x - i) * (T[i + 1] - T[i]);
    };
    std::vector<double> answers;
    std::size_t asked = 0;
    double timeMa = bounds.front();
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        const double phaseS = (bounds[k] - bounds[k + 1]) * units::secondsPerMyr;
        const long steps = static_cast<long>(std::ceil(phaseS / longestStepS));
        const double dt = phaseS / steps;
        for (long s = 0; s < steps; ++s) {
            while (asked < askedMa.size() && askedMa[asked] >= timeMa - 1e-9) {
                answers.push_back(rockTemperature());
                ++asked;
            }
            const double midMa = timeMa - 0.5 * dt / units::secondsPerMyr;
            const double u = rate(midMa) * metresPerSecond;
            for (int i = 1; i < intervals; ++i)
                next[i] = T[i]
                    + dt
                        * (kappa * (T[i + 1] - 2 * T[i] + T[i - 1]) / (h * h)
                            + u * (T[i + 1] - T[i - 1]) / (2 * h));
            next[0] = p.surfaceTemperatureC;
            next[intervals] = p.baseTemperatureC;
            std::swap(T, next);
            depthM -= u * dt;
            timeMa -= dt / units::secondsPerMyr;
        }
    }
    while (asked < askedMa.size()) {
        answers.push_back(rockTemperature());
        ++asked;
    }
    return answers;
}

TEST(BurialThenErosion, PathFollowsAnIndependentExplicitSolutionWithinAFiftiethOfADegree)
{
    ThermalParameters p; // 50 km to a base held at 1250 C, no heat production, steady start
    p.heatProductionUWm3 = 0.0;
    struct Case {
        const char* history;
        Rate rate;
        std::vector<double> startsMa;
    };
    const Case cases[] = {
        // 8 Myr of burial at 0.3 mm/yr (2.4 km down), then 12 Myr of erosion at 0.8 mm/yr.
        { "20:-0.3,12:0.8", [](double t) { return t > 12 ? -0.3 : 0.8; }, { 20, 12 } },
        // Burial slowing linearly to a pause, then erosion decaying over 6 Myr.
        { "30:-0.4~0,18:1.2/6",
            [](double t) { return t > 18 ? -0.4 * (t - 18) / 12 : 1.2 * std::exp(-(18 - t) / 6); },
            { 30, 18 } },
    };
    for (const Case& c : cases) {
        const HistoryPath path = historyPath(p, parseErosionHistory(c.history));
        // Every twentieth point of the model's path, and the last (today).
        std::vector<double> times;
        for (std::size_t i = 0; i < path.timeMa.size(); i += 20)
            times.push_back(path.timeMa[i]);
        times.push_back(path.timeMa.back());
        const std::vector<double> expected = explicitPath(p, c.rate, c.startsMa, times);
        ASSERT_EQ(expected.size(), times.size());
        double largest = 0.0, hottest = 0.0;
        for (std::size_t k = 0; k < times.size(); ++k) {
            const std::size_t i = std::min(k * 20, path.timeMa.size() - 1);
            largest = std::max(largest, std::abs(path.temperatureC[i] - expected[k]));
            hottest = std::max(hottest, expected[k]);
        }
        EXPECT_LT(largest, 0.02) << c.history << ": largest difference " << largest << " C";
        // The burial must show: the rock is heated before it cools.
        EXPECT_GT(hottest, expected.front() + 10.0) << c.history;
    }
}

} // namespace
