#include "argondiffusion.h"
#include "heliumdiffusion.h"
#include "paths.h"
#include "predict.h"
#include "zirconfissiontrack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace thermochron;

TEST(Systems, NamesReadBackAndOnlyExactNamesParse)
{
    for (const System system : allSystems)
        EXPECT_EQ(parseSystem(systemName(system)), system);
    for (const char* wrong : { "ahe", "AHE", " AHe", "AHe ", "", "ZrHe" })
        EXPECT_FALSE(parseSystem(wrong).has_value()) << wrong;
}

// Dodson for every system; the kinetic method only where a kinetic model exists.
TEST(PredictAge, DispatchesEachSupportedMethodAndRefusesTheRest)
{
    const CoolingPath path = testpaths::steadyCooling(30, 300, 0);
    const Method methods[] = { Method::Dodson, Method::Diffusion, Method::Annealing };
    for (const System system : allSystems) {
        for (const Method method : methods) {
            const bool expected = method == Method::Dodson || kineticMethod(system) == method;
            EXPECT_EQ(supports(system, method), expected);
            if (expected) {
                const Age age = predictAge(path, system, method, Grain {});
                EXPECT_GT(age.ageMa, 0.0);
                EXPECT_EQ(age.kinetics, kineticsFor(system, method, {}));
                EXPECT_EQ(age.pathStartMa, 30);
            } else
                EXPECT_THROW(predictAge(path, system, method, Grain {}), std::invalid_argument);
        }
    }
    EXPECT_EQ(kineticMethod(System::AHe), Method::Diffusion);
    EXPECT_EQ(kineticMethod(System::ZHe), Method::Diffusion);
    EXPECT_EQ(kineticMethod(System::AFT), Method::Annealing);
}

// The choice of (U-Th)/He kinetics reaches the model and the age says which made it; kinetics
// of the other mineral are refused.
TEST(PredictAge, UsesTheChosenHeliumKinetics)
{
    const CoolingPath path = testpaths::steadyCooling(40, 250, 0);
    const KineticsChoice older { Kinetics::Farley, Kinetics::Reiners };
    for (const System system : { System::AHe, System::ZHe }) {
        const Age age = predictAge(path, system, Method::Diffusion, Grain {}, older);
        const Kinetics expected = system == System::AHe ? Kinetics::Farley : Kinetics::Reiners;
        EXPECT_EQ(age.kinetics, expected);
        EXPECT_EQ(age.ageMa, heliumAge(path, expected, Grain {}).ageMa);
        EXPECT_NE(age.ageMa, predictAge(path, system, Method::Diffusion, Grain {}).ageMa);
    }
    EXPECT_THROW(predictAge(path, System::AHe, Method::Diffusion, Grain {},
                     { Kinetics::Zrdaam, Kinetics::Zrdaam }),
        std::invalid_argument);
}

// The zircon fission-track choice reaches the model; argon ages read the grain's radius and
// pressure.
TEST(PredictAge, UsesTheChosenZirconTrackKineticsAndTheArgonGrain)
{
    const CoolingPath path = testpaths::steadyCooling(40, 400, 0);
    const KineticsChoice fanning { .zirconFissionTrack = Kinetics::Guenthner2013 };
    const Age age = predictAge(path, System::ZFT, Method::Annealing, Grain {}, fanning);
    EXPECT_EQ(age.kinetics, Kinetics::Guenthner2013);
    EXPECT_EQ(age.ageMa, zirconFissionTrackAge(path, Kinetics::Guenthner2013).ageMa);
    const Grain muscovite { .radiusUm = 100, .pressureKbar = 10 };
    EXPECT_EQ(predictAge(path, System::MAr, Method::Diffusion, muscovite).ageMa,
        argonAge(path, argonKinetics(Kinetics::Harrison2009), 100, 10).ageMa);
}

// The models take their own time steps: a path sampled every 0.01 Myr, as the thermal models
// give it, and the same path given by its two ends must give the same kinetic ages.
TEST(PredictAge, FinelySampledPathGivesTheAgesOfItsEnds)
{
    const CoolingPath ends { { 20, 250 }, { 0, 10 } };
    CoolingPath fine;
    for (int i = 0; i <= 2000; ++i)
        fine.push_back({ 20 - 0.01 * i, 250 - 0.12 * i });
    for (const System system : allSystems) {
        const Method method = *kineticMethod(system);
        const double expected = predictAge(ends, system, method, Grain {}).ageMa;
        EXPECT_NEAR(predictAge(fine, system, method, Grain {}).ageMa, expected, 1e-3 * expected)
            << systemName(system);
    }
}

// A path the models cannot follow is refused by every method, never read out of bounds or
// stepped through backwards.
TEST(PredictAge, RefusesPathsThatAreNotOldestFirstAndFinite)
{
    const CoolingPath bad[] = {
        {},
        { { 10, 100 } },
        { { 10, 100 }, { 10, 50 }, { 0, 0 } },
        { { 0, 0 }, { 10, 100 } },
        { { 10, NAN }, { 0, 0 } },
        { { INFINITY, 100 }, { 0, 0 } },
    };
    for (const System system : allSystems)
        for (const Method method : { Method::Dodson, *kineticMethod(system) })
            for (const CoolingPath& path : bad)
                EXPECT_THROW(predictAge(path, system, method, Grain {}), std::invalid_argument)
                    << systemName(system) << " " << methodName(method) << " " << path.size();
}
