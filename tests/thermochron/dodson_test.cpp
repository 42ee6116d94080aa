#include "dodson.h"
#include "paths.h"
#include "physicalconstants.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace thermochron;

// The compiled systems, hottest-closing last, are in the order of allSystems at any one rate,
// and each closes hotter when it cools faster (less time to lose its daughters).
TEST(DodsonClosure, RisesWithCoolingRateAndKeepsTheOrderOfTheSystems)
{
    for (const double rate : { 1.0, 10.0, 100.0 }) {
        double previousSystem = -INFINITY;
        for (const System system : allSystems) {
            const double closure = dodsonClosureTemperatureC(system, rate);
            EXPECT_GT(closure, previousSystem) << systemName(system) << " at " << rate;
            EXPECT_GT(dodsonClosureTemperatureC(system, 3 * rate), closure) << systemName(system);
            previousSystem = closure;
        }
    }
}

// The fixed point must solve Tc = Ea / (R ln(Omega tau)), tau = R Tc^2 / (Ea dT/dt).
TEST(DodsonClosure, SolvesTheClosureEquation)
{
    for (const System system : allSystems) {
        for (const double rate : { 0.1, 10.0, 1000.0 }) {
            const ClosureKinetics kinetics = closureKinetics(system);
            const double tc = dodsonClosureTemperatureC(system, rate) + zeroCelsiusInKelvin;
            const double ea = kinetics.activationEnergyKJPerMol * joulesPerKilojoule;
            const double tau = gasConstant * tc * tc / (ea * rate / secondsPerMyr);
            EXPECT_NEAR(ea / (gasConstant * std::log(kinetics.omegaPerSecond * tau)), tc, 1e-6)
                << systemName(system) << " at " << rate;
        }
    }
}

// Cooling from 0 C at the surface at a constant rate, the rock passed Tc at Tc / rate Ma.
TEST(DodsonAge, OnAConstantRatePathIsTheClosureTemperatureOverTheRate)
{
    for (const System system : allSystems) {
        for (const double rate : { 5.0, 20.0, 60.0 }) {
            const double closure = dodsonClosureTemperatureC(system, rate);
            const double startMa = std::ceil(1.5 * closure / rate);
            const Age age
                = dodsonAge(testpaths::steadyCooling(startMa, rate * startMa, 0.0), system);
            EXPECT_TRUE(age.reset);
            EXPECT_NEAR(age.ageMa, closure / rate, 0.01 * closure / rate)
                << systemName(system) << " at " << rate;
            EXPECT_NEAR(age.closureTemperatureC, closure, 0.01 * closure);
        }
    }
}

TEST(DodsonAge, PathsThatNeverCloseOrNeverOpen)
{
    struct Case {
        const char* name;
        CoolingPath path;
        bool reset;
        double ageMa;
    };
    const Case cases[] = {
        // Colder than any Tc throughout: the age is the path's start, a lower bound.
        { "cold throughout", testpaths::hold(30, 20), false, 30 },
        // Still above Tc at the end: closure is yet to come, the age is the sampling time.
        { "hot at present", testpaths::steadyCooling(10, 900, 800), true, 0 },
        // Reheated above Tc at 5 Ma and cooled again: only the last cooling counts.
        { "reheated", { { 40, 20 }, { 5, 700 }, { 0, 0 } }, true, -1 },
    };
    for (const Case& c : cases) {
        for (const System system : allSystems) {
            const Age age = dodsonAge(c.path, system);
            EXPECT_EQ(age.reset, c.reset) << c.name << " " << systemName(system);
            if (c.ageMa >= 0)
                EXPECT_DOUBLE_EQ(age.ageMa, c.ageMa) << c.name << " " << systemName(system);
            else
                EXPECT_LT(age.ageMa, 5.0) << c.name << " " << systemName(system);
        }
    }
}
