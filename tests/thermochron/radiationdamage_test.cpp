#include "heliumdiffusion.h"
#include "heliumproduction.h"
#include "holdintegral.h"
#include "paths.h"
#include "radiationdamage.h"
#include "trackcohorts.h"

#include <gtest/gtest.h>

#include <vector>

using namespace thermochron;

// Held at one temperature, every cohort of damage anneals as its age t alone says, so the dose
// at the end is the integral over t of the alphas made t ago times rho(r(t, T)): the same exact
// integral as for fission tracks, weighted by the production of all four emitters.
TEST(DamageDose, IsothermalHoldsMatchTheExactIntegralOverCohorts)
{
    struct Mineral {
        AnnealingLaw law;
        std::vector<double> temperaturesC;
    };
    const Mineral minerals[] = { { apatiteDamageAnnealing(), { 20, 60, 90, 110, 130 } },
        { zirconDamageAnnealing(), { 150, 250, 300, 350 } } };
    const Grain grain { .radiusUm = 60, .uPpm = 30, .thPpm = 20, .smPpm = 100 };
    const PerParent amounts = parentAmounts(grain);
    const HeliumResolution resolution;
    for (const double holdMyr : { 10.0, 100.0 }) {
        for (const auto& [law, temperaturesC] : minerals) {
            for (const double temperatureC : temperaturesC) {
                const double exact = testintegrals::holdIntegral(
                    law, temperatureC, holdMyr, [&](double ageMyr) {
                        double alphas = 0; // per gram per Myr
                        for (const double rate : heliumProductionRates(amounts, ageMyr))
                            alphas += rate * avogadroConstant;
                        return alphas;
                    });
                const CoolingPath steps = cohortSteps(testpaths::hold(holdMyr, temperatureC), law,
                    resolution.damageTimeStepMyr, resolution.damageTemperatureStepC,
                    resolution.ageFraction);
                EXPECT_NEAR(annealedAlphaDose(steps, grain, law).back(), exact, 0.005 * exact)
                    << holdMyr << " Myr at " << temperatureC << " C";
            }
        }
    }
}

// Flowers et al. (2009) give 62 C as the closure temperature of their apatite (eU 28 ppm, radius
// 60 um) cooling at 10 C/Myr: cooled from 120 C to 0 C in 12 Myr, the age times the rate.
TEST(DamageAge, ApatiteOfFlowersClosesAtSixtyTwoDegrees)
{
    const Age age = heliumAge(testpaths::steadyCooling(12, 120, 0), Kinetics::Rdaam,
        Grain { .radiusUm = 60, .uPpm = 28, .thPpm = 0 });
    EXPECT_GE(age.ageMa * 10, 61);
    EXPECT_LE(age.ageMa * 10, 63);
}

// On slow cooling, more eU makes more damage, which traps helium: older AHe ages, whether the
// eU comes from U, Th or Sm. In zircon the damage first traps helium too, then, once amorphous
// zones link up, gives it fast paths out: ZHe ages rise with eU and then collapse.
TEST(DamageAge, AgesFollowEffectiveUraniumAsTheDamageModelsPredict)
{
    const Grain apatites[] = {
        { .uPpm = 5, .thPpm = 0 },
        { .uPpm = 10, .thPpm = 20 },
        { .uPpm = 40, .thPpm = 20, .smPpm = 500 },
        { .uPpm = 150, .thPpm = 0 },
    };
    const CoolingPath slowApatite = testpaths::steadyCooling(120, 120, 0);
    double previousEu = 0, previousAge = 0;
    for (const Grain& grain : apatites) {
        ASSERT_GT(effectiveUraniumPpm(grain), previousEu);
        const double age = heliumAge(slowApatite, Kinetics::Rdaam, grain).ageMa;
        EXPECT_GT(age, previousAge) << "eU " << effectiveUraniumPpm(grain);
        previousEu = effectiveUraniumPpm(grain);
        previousAge = age;
    }

    const CoolingPath slowZircon = testpaths::steadyCooling(300, 300, 0);
    std::vector<double> zirconAges;
    for (const double eu : { 10.0, 100.0, 1000.0, 8000.0 })
        zirconAges.push_back(
            heliumAge(slowZircon, Kinetics::Zrdaam, Grain { .uPpm = eu, .thPpm = 0 }).ageMa);
    EXPECT_LT(zirconAges[0], zirconAges[1]);
    EXPECT_LT(zirconAges[1], zirconAges[2]);
    EXPECT_LT(zirconAges[3], zirconAges[0]);
}

// Many grains dated together share the path's damage: the dose of a grain is the sum of the
// doses of one ppm of U, Th and Sm weighted by its ppm, and each grain's age is the one it has
// alone, whatever grains it is dated with (eleven: a block of eight side by side, three alone).
TEST(DamageAge, GrainsDatedTogetherShareTheDamageOfEachParentAndKeepTheirOwnAges)
{
    const CoolingPath path = testpaths::steadyCooling(80, 140, 5);
    std::vector<Grain> grains;
    for (int i = 0; i < 11; ++i)
        grains.push_back({ .radiusUm = 40.0 + 6 * i,
            .uPpm = i % 3 == 2 ? 0.0 : 5.0 + 4 * i,
            .thPpm = i % 4 == 1 ? 0.0 : 70.0 - 5 * i,
            .smPpm = i == 5 ? 300.0 : 0.0 });
    const AnnealingLaw law = apatiteDamageAnnealing();
    const CoolingPath steps = timeSteps(path, 2.0, 5.0);
    const auto doseOf = [&](const Grain& grain) { return annealedAlphaDose(steps, grain, law); };
    const std::vector<double> u = doseOf({ .uPpm = 1, .thPpm = 0 });
    const std::vector<double> th = doseOf({ .uPpm = 0, .thPpm = 1 });
    const std::vector<double> sm = doseOf({ .uPpm = 0, .thPpm = 0, .smPpm = 1 });
    for (const Grain& grain : grains) {
        const std::vector<double> dose = doseOf(grain);
        for (std::size_t j = 0; j < steps.size(); j += 7)
            EXPECT_NEAR(dose[j], grain.uPpm * u[j] + grain.thPpm * th[j] + grain.smPpm * sm[j],
                1e-12 * dose.back());
    }
    for (const Kinetics kinetics : { Kinetics::Rdaam, Kinetics::Farley }) {
        const std::vector<Age> together = heliumAges(path, heliumKinetics(kinetics), grains);
        ASSERT_EQ(together.size(), grains.size());
        for (std::size_t i = 0; i < grains.size(); ++i) {
            const Age alone = heliumAge(path, kinetics, grains[i]);
            EXPECT_NEAR(together[i].ageMa, alone.ageMa, 1e-12 * alone.ageMa) << i;
            EXPECT_EQ(together[i].reset, alone.reset) << i;
        }
    }
}
