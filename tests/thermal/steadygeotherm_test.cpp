#include "steadygeotherm.h"
#include "units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace thermal;

TEST(SteadyGeotherm, SolvesItsEquationAndMeetsItsBoundaries)
{
    // kappa T'' + u T' + A kappa / k = 0 by central differences of the closed form, and the
    // surface and base values, for both shapes and bases, with and without erosion, and at the
    // resonance a = 1 / hr of the exponential.
    using enum HeatProductionShape;
    using enum BaseCondition;
    const double resonantMmYr = 1.3636e-6 / 10000.0 * units::mmPerYearPerMetrePerSecond;
    const struct {
        HeatProductionShape shape;
        BaseCondition base;
        double rateMmYr;
    } cases[] = { { Exponential, Temperature, 0.0 }, { Exponential, HeatFlow, 0.0 },
        { Uniform, Temperature, 0.0 }, { Uniform, HeatFlow, 1.0 }, { Exponential, HeatFlow, 2.0 },
        { Exponential, Temperature, resonantMmYr }, { Uniform, Temperature, 1e-9 } };
    for (const auto& c : cases) {
        ThermalParameters p;
        p.surfaceTemperatureC = 10.0;
        p.heatProductionUWm3 = 2.0;
        p.heatProductionShape = c.shape;
        p.heatProductionDepthM = 12345.0;
        p.base = c.base;
        const SteadyGeotherm steady(p, c.rateMmYr);
        const double u = units::metresPerSecondFromMmPerYear(c.rateMmYr);
        const double kappa = p.diffusivityM2s;
        const double step = 10.0; // m
        const auto T = [&](double d) { return steady.temperatureC(d); };
        const auto slope = [&](double d) { return (T(d + step) - T(d - step)) / (2 * step); };
        const std::string name = std::to_string(static_cast<int>(c.shape)) + " "
            + std::to_string(static_cast<int>(c.base)) + " " + std::to_string(c.rateMmYr);

        EXPECT_NEAR(T(0.0), 10.0, 1e-9) << name;
        if (c.base == Temperature)
            EXPECT_NEAR(T(p.baseDepthM), p.baseTemperatureC, 1e-9) << name;
        else
            EXPECT_NEAR(p.conductivityWmK * slope(p.baseDepthM) / wattsPerMilliwatt,
                p.baseHeatFlowMWm2, 1e-4)
                << name;
        EXPECT_NEAR(slope(0.0), steady.surfaceGradientCm(), 1e-6 * steady.surfaceGradientCm())
            << name;
        for (double d = 500.0; d < p.baseDepthM; d += 1000.0) {
            const double curvature = (T(d + step) - 2 * T(d) + T(d - step)) / (step * step);
            const double surfaceWm3 = p.heatProductionUWm3 * wattsPerMicrowatt;
            const double production = p.heatProductionShape == Exponential
                ? surfaceWm3 * std::exp(-d / p.heatProductionScaleM)
                : (d < p.heatProductionDepthM ? surfaceWm3 : 0.0);
            const double terms[]
                = { kappa * curvature, u * slope(d), production * kappa / p.conductivityWmK };
            // Zero to a millionth of the largest term, or to the rounding of the differences of
            // temperatures up to 1250 C, 4 eps T kappa / step^2 = 1e-20 C/s, where all vanish.
            const double largest
                = std::max({ std::abs(terms[0]), std::abs(terms[1]), std::abs(terms[2]) });
            EXPECT_NEAR(terms[0] + terms[1] + terms[2], 0.0, std::max(1e-6 * largest, 1e-19))
                << name << " at " << d << " m";
        }
    }
}
