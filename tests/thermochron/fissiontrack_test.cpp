#include "fissiontrack.h"
#include "holdintegral.h"
#include "paths.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace thermochron;

namespace {

// The exact age of an isothermal hold: (1/0.893) int rho(r(t, T)) dt over the cohort age t.
double exactHoldAge(const AnnealingLaw& law, double temperatureC, double holdMyr)
{
    return testintegrals::holdIntegral(law, temperatureC, holdMyr, [](double) { return 1.0; })
        / 0.893;
}

} // namespace

TEST(FanningCurvilinear, MostResistantLengthAfterOneMillionYears)
{
    struct Case {
        double temperatureC;
        double reducedLength;
    };
    for (const Case c : { Case { 0, 0.974963 }, Case { 100, 0.875990 }, Case { 200, 0.592820 } })
        EXPECT_NEAR(fittedLength(apatiteFanningFit, secondsPerMyr, c.temperatureC + zeroCelsiusInKelvin),
            c.reducedLength, 1e-6)
            << c.temperatureC;
}

// Every hold from 0 to 130 C and every Dpar from 1 to 4 um: the age within 0.5 % of the exact
// integral over cohorts, reset exactly when the hold outlasts the erasure of a track, and the
// closure temperature the hold's, or none when the age is older than the hold (Durango
// normalisation: an unannealed age is the hold over 0.893).
TEST(FissionTrackAge, IsothermalHoldsMatchTheExactIntegralOverCohorts)
{
    // An independent quadrature of this integral gives 1.9835 Ma for Dpar 1.75 at 100 C.
    EXPECT_NEAR(exactHoldAge(apatiteTrackAnnealing(1.75), 100, 10), 1.9835, 1e-4);
    for (const double holdMyr : { 10.0, 100.0 }) {
        for (double temperatureC = 0; temperatureC <= 130; temperatureC += 10) {
            for (const double dpar : { 1.0, 1.75, 2.5, 3.25, 4.0 }) {
                const AnnealingLaw law = apatiteTrackAnnealing(dpar);
                const double exact = exactHoldAge(law, temperatureC, holdMyr);
                const Age age = apatiteFissionTrackAge(
                    testpaths::hold(holdMyr, temperatureC), Grain { .dparUm = dpar });
                EXPECT_NEAR(age.ageMa, exact, 0.005 * exact)
                    << holdMyr << " Myr at " << temperatureC << " C, Dpar " << dpar;
                const double erasureMyr
                    = erasureTimeSeconds(law, temperatureC + zeroCelsiusInKelvin) / secondsPerMyr;
                EXPECT_EQ(age.reset, erasureMyr < holdMyr) << temperatureC << " C, " << dpar;
                if (age.ageMa > holdMyr)
                    EXPECT_TRUE(std::isnan(age.closureTemperatureC));
                else
                    EXPECT_DOUBLE_EQ(age.closureTemperatureC, temperatureC);
            }
        }
    }
}

// Annealed totally at 250 C, quenched at 10 Ma and then held at 40 C: every counted cohort anneals
// at one temperature, so the age is that of a 10 Myr hold at 40 C. This checks the cohort
// bookkeeping of the path model.
TEST(FissionTrackAge, QuenchedAndHeldMatchesTheIntegralOverCohorts)
{
    const double heldC = 40;
    const CoolingPath path { { 12, 250 }, { 10.001, 250 }, { 10, heldC }, { 0, heldC } };
    for (const double dpar : { 1.5, 2.5, 4.0 }) {
        const double exact = exactHoldAge(apatiteTrackAnnealing(dpar), heldC, 10);
        const Age age = apatiteFissionTrackAge(path, Grain { .dparUm = dpar });
        EXPECT_TRUE(age.reset);
        EXPECT_NEAR(age.ageMa, exact, 0.002 * exact) << dpar;
    }
}

// Linear cooling at 1, 10 and 100 C/Myr: within 0.1 % of the age and mean length with every
// step twenty times finer.
TEST(FissionTrackAge, CoolingPathsAgreeWithTwentyTimesFinerSteps)
{
    const AnnealingResolution coarse;
    const AnnealingResolution fine { coarse.maxTimeStepMyr / 20, coarse.maxTemperatureStepC / 20,
        coarse.ageFraction / 20 };
    for (const double rate : { 1.0, 10.0, 100.0 }) {
        const CoolingPath path { { 150 / rate, 150 }, { 0, 0 } };
        for (const double dpar : { 1.75, 4.0 }) {
            const Age coarseAge = apatiteFissionTrackAge(path, Grain { .dparUm = dpar }, coarse);
            const Age fineAge = apatiteFissionTrackAge(path, Grain { .dparUm = dpar }, fine);
            EXPECT_NEAR(coarseAge.ageMa, fineAge.ageMa, 0.001 * fineAge.ageMa) << rate;
            EXPECT_NEAR(coarseAge.meanTrackLengthUm, fineAge.meanTrackLengthUm,
                0.001 * fineAge.meanTrackLengthUm)
                << rate;
        }
    }
}

// Ten million years at 0 C barely shorten the tracks: the mean c-axis projected length is just
// under the initial 16.10 + 0.205 Dpar um, about 15.8 um for Dpar 1.75.
TEST(FissionTrackAge, UnannealedTracksKeepNearlyTheirInitialProjectedLength)
{
    const Age age = apatiteFissionTrackAge(testpaths::hold(10, 0), Grain { .dparUm = 1.75 });
    EXPECT_NEAR(age.meanTrackLengthUm, 15.8, 0.05);
    EXPECT_LT(age.meanTrackLengthUm, initialProjectedLengthUm(1.75));
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

// A path too cold to erase tracks gives the age accumulated since its start, a lower bound for
// an older rock; with the Durango normalisation it is older than the path itself.
TEST(FissionTrackAge, ColdPathIsNotResetAndHalvingTheStepsBarelyMovesTheAge)
{
    const Age cold = apatiteFissionTrackAge(testpaths::hold(30, 15), Grain {});
    EXPECT_FALSE(cold.reset);
    EXPECT_EQ(cold.pathStartMa, 30);
    EXPECT_GT(cold.ageMa, 30);
    EXPECT_EQ(cold.kinetics, Kinetics::Ketcham2007);

    const CoolingPath path { { 30, 150 }, { 20, 95 }, { 8, 85 }, { 0, 15 } };
    const AnnealingResolution coarse;
    const Age coarseAge = apatiteFissionTrackAge(path, Grain {}, coarse);
    const Age fineAge = apatiteFissionTrackAge(path, Grain {},
        { coarse.maxTimeStepMyr / 2, coarse.maxTemperatureStepC / 2, coarse.ageFraction / 2 });
    EXPECT_TRUE(coarseAge.reset);
    EXPECT_NEAR(coarseAge.ageMa, fineAge.ageMa, 0.005 * fineAge.ageMa);
    EXPECT_NEAR(
        coarseAge.meanTrackLengthUm, fineAge.meanTrackLengthUm, 0.005 * fineAge.meanTrackLengthUm);
}
