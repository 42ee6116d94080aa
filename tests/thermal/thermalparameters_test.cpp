#include "thermalparameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace thermal;

TEST(ThermalParameters, RefusesTheFirstUnusableValueNamingItsOptionAndRange)
{
    EXPECT_FALSE(parameterError(ThermalParameters {}).has_value());
    const struct {
        std::function<void(ThermalParameters&)> change;
        const char* message; // nullptr: accepted
    } cases[] = {
        { [](auto& p) { p.surfaceTemperatureC = -300; },
            "surface temperature (-T -300 C) must be a finite number of at least -273.15 C" },
        { [](auto& p) { p.baseDepthM = 0; },
            "base depth (-z 0 m) must be a finite number above 0 m" },
        { [](auto& p) { p.baseDepthM = 2e6; }, "and at most 1e+06 m" },
        { [](auto& p) { p.baseTemperatureC = -10; },
            "base temperature (-b -10 C) must be a finite number above the surface temperature "
            "(-T), 0 C" },
        { [](auto& p) { p.baseTemperatureC = -10, p.base = BaseCondition::HeatFlow; }, nullptr },
        { [](auto& p) { p.baseHeatFlowMWm2 = -1, p.base = BaseCondition::HeatFlow; },
            "base heat flow (-q -1 mW/m2) must be a finite number of at least 0 mW/m2" },
        { [](auto& p) { p.conductivityWmK = 0; }, "conductivity (-k 0 W/m/K)" },
        { [](auto& p) { p.diffusivityM2s = std::nan(""); }, "diffusivity (-a nan m2/s)" },
        { [](auto& p) { p.heatProductionUWm3 = -1; }, "heat production (-H -1 uW/m3)" },
        { [](auto& p) { p.heatProductionScaleM = 0; }, nullptr }, // unused without -H
        { [](auto& p) { p.heatProductionUWm3 = 1, p.heatProductionScaleM = 0; },
            "heat production scale (--hr 0 m)" },
        { [](auto& p) {
             p.heatProductionUWm3 = 1, p.heatProductionShape = HeatProductionShape::Uniform;
             p.heatProductionDepthM = -5;
         },
            "heat-producing layer depth (--h-depth -5 m)" },
        { [](auto& p) { p.initialGradientCm = -0.01, p.initial = InitialState::Linear; },
            "initial gradient (-B -0.01 C/m)" },
    };
    for (const auto& c : cases) {
        ThermalParameters p;
        c.change(p);
        const auto message = parameterError(p);
        if (!c.message) {
            EXPECT_FALSE(message.has_value()) << *message;
            continue;
        }
        ASSERT_TRUE(message.has_value()) << c.message;
        EXPECT_NE(message->find(c.message), std::string::npos) << *message;
    }
}
