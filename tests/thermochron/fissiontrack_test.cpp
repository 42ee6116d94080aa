#include "fissiontrack.h"
#include "paths.h"
#include "physicalconstants.h"

#include <gtest/gtest.h>

using namespace thermochron;

TEST(FanningCurvilinear, MostResistantLengthAfterOneMillionYears)
{
    struct Case {
        double temperatureC;
        double reducedLength;
    };
    for (const Case c : { Case { 0, 0.974963 }, Case { 100, 0.875990 }, Case { 200, 0.592820 } })
        EXPECT_NEAR(mostResistantReducedLength(secondsPerMyr, c.temperatureC + zeroCelsiusInKelvin),
            c.reducedLength, 1e-6)
            << c.temperatureC;
}

// Annealed totally at 250 C, quenched at 10 Ma and then held at 40 C: every counted cohort anneals
// at one temperature, so its length is r(t) directly and the age is the integral of rho(r(t)) dt
// over the hold, over 0.893. This checks the cohort bookkeeping of the path model.
TEST(FissionTrackAge, QuenchedAndHeldMatchesTheIntegralOverCohorts)
{
    const double heldC = 40;
    const CoolingPath path { { 12, 250 }, { 10.001, 250 }, { 10, heldC }, { 0, heldC } };
    for (const double dpar : { 1.5, 2.5, 4.0 }) {
        const int slices = 20000;
        double integral = 0;
        for (int i = 0; i < slices; ++i) {
            const double ageMyr = (i + 0.5) * 10.0 / slices;
            const double rmr
                = mostResistantReducedLength(ageMyr * secondsPerMyr, heldC + zeroCelsiusInKelvin);
            integral += reducedDensity(reducedLength(rmr, dpar)) * 10.0 / slices;
        }
        const Age age = apatiteFissionTrackAge(path, Grain { .dparUm = dpar });
        EXPECT_TRUE(age.reset);
        EXPECT_NEAR(age.ageMa, integral / 0.893, 0.002 * age.ageMa) << dpar;
    }
}

// Whatever the path, the age and mean length must respond to the physics the right way round.
TEST(FissionTrackAge, RespondsToResistanceReheatingAndCoolingRate)
{
    const CoolingPath cooling = testpaths::steadyCooling(40, 160, 10);
    const Age base = apatiteFissionTrackAge(cooling, Grain {});
    ASSERT_TRUE(base.reset);

    // A more resistant apatite (larger Dpar) keeps tracks at higher temperature: older.
    EXPECT_GT(apatiteFissionTrackAge(cooling, Grain { .dparUm = 3.0 }).ageMa, base.ageMa);

    // Reheating to 90 C for the last 5 Myr only removes tracks: younger, shorter.
    CoolingPath reheated;
    for (const PathPoint& point : cooling)
        if (point.timeMa > 6)
            reheated.push_back(point);
    reheated.push_back({ 6, temperatureAt(cooling, 6) });
    reheated.push_back({ 5, 90 });
    reheated.push_back({ 0, 10 });
    const Age reheatedAge = apatiteFissionTrackAge(reheated, Grain {});
    EXPECT_LT(reheatedAge.ageMa, base.ageMa);
    EXPECT_LT(reheatedAge.meanTrackLengthUm, base.meanTrackLengthUm);

    // Quenched at 15 Ma, the tracks never crossed the partial annealing zone: long.
    const Age quenched
        = apatiteFissionTrackAge({ { 15.001, 200 }, { 15, 10 }, { 0, 10 } }, Grain {});
    EXPECT_GT(quenched.meanTrackLengthUm, base.meanTrackLengthUm);
}

TEST(FissionTrackAge, ColdPathIsNotResetAndHalvingTheStepsBarelyMovesTheAge)
{
    const Age cold = apatiteFissionTrackAge(testpaths::hold(30, 15), Grain {});
    EXPECT_FALSE(cold.reset);
    EXPECT_EQ(cold.ageMa, 30);

    const CoolingPath path { { 30, 150 }, { 20, 95 }, { 8, 85 }, { 0, 15 } };
    const AnnealingResolution coarse;
    const Age coarseAge = apatiteFissionTrackAge(path, Grain {}, coarse);
    const Age fineAge = apatiteFissionTrackAge(
        path, Grain {}, { coarse.maxTimeStepMyr / 2, coarse.maxTemperatureStepC / 2 });
    EXPECT_TRUE(coarseAge.reset);
    EXPECT_NEAR(coarseAge.ageMa, fineAge.ageMa, 0.005 * fineAge.ageMa);
    EXPECT_NEAR(
        coarseAge.meanTrackLengthUm, fineAge.meanTrackLengthUm, 0.005 * fineAge.meanTrackLengthUm);
}
