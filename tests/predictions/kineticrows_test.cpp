// The rows of the age table for zircon fission tracks, the four 40Ar/39Ar systems and the AFT
// track lengths, as the prediction layer makes them from the age options: each against the exact
// or published value of its model, so that what the options choose is what the rows report.

#include "ageprediction.h"
#include "agesettings.h"

#include "thermochron/argonkinetics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using thermochron::Kinetics;
using thermochron::Method;
using thermochron::System;

// T C held from timeMa to the present.
ages::SamplePath hold(double timeMa, double temperatureC)
{
    return { { { timeMa, temperatureC }, { 0.0, temperatureC } }, {} };
}

// Linear cooling from startC to 0 C at rateCPerMyr.
ages::SamplePath linearCooling(double startC, double rateCPerMyr)
{
    return { { { startC / rateCPerMyr, startC }, { 0.0, 0.0 } }, {} };
}

ages::AgeSettings kineticOnly(System system)
{
    ages::AgeSettings settings;
    settings.systems = { system };
    settings.methods = ages::MethodChoice::kinetic;
    return settings;
}

ages::AgeRow onlyRow(const std::vector<ages::AgeRow>& rows)
{
    EXPECT_EQ(rows.size(), 1u);
    return rows.front();
}

// 10 Myr holds: the integral of rho over the cohorts' ages, worked out exactly.
TEST(KineticRows, ZirconFissionTrackHoldsGiveTheExactIntegralOfEachKinetics)
{
    struct Case {
        Kinetics kinetics;
        double temperatureC;
        double ageMa;
    };
    const Case cases[] = {
        { Kinetics::Yamada2007, 250, 6.63817 },
        { Kinetics::Yamada2007, 300, 3.61535 },
        { Kinetics::Guenthner2013, 250, 6.76203 },
        { Kinetics::Guenthner2013, 300, 3.91492 },
    };
    for (const Case& c : cases) {
        ages::AgeSettings settings = kineticOnly(System::ZFT);
        settings.kinetics.zirconFissionTrack = c.kinetics;
        const ages::AgeRow row = onlyRow(ages::pathAgeRows(hold(10, c.temperatureC), settings));
        EXPECT_EQ(row.method, Method::Annealing);
        EXPECT_EQ(row.age.kinetics, c.kinetics);
        EXPECT_NEAR(row.age.ageMa, c.ageMa, 1e-3 * c.ageMa) << c.temperatureC << " C";
    }
}

TEST(KineticRows, TheDefaultZirconFissionTrackKineticsAreYamada)
{
    const ages::AgeRow row = onlyRow(ages::pathAgeRows(hold(10, 250), kineticOnly(System::ZFT)));
    EXPECT_EQ(row.age.kinetics, Kinetics::Yamada2007);
}

// Harrison et al. (2009): a muscovite of 100 um cooled at 10 C/Myr at 10 kbar closes at 425 C.
TEST(KineticRows, MuscoviteOfHarrisonClosesAt425CAtTenKilobars)
{
    ages::AgeSettings settings = kineticOnly(System::MAr);
    settings.muscoviteRadiusUm = 100;
    settings.pressureKbar = 10;
    const ages::AgeRow row = onlyRow(ages::pathAgeRows(linearCooling(700, 10), settings));
    EXPECT_EQ(row.age.kinetics, Kinetics::Harrison2009);
    EXPECT_NEAR(row.age.closureTemperatureC, 425, 3);

    // Less pressure, a lower activation energy (dV 14 cm3/mol): an earlier loss, a cooler closure.
    settings.pressureKbar = 5;
    const ages::AgeRow shallower = onlyRow(ages::pathAgeRows(linearCooling(700, 10), settings));
    EXPECT_LT(shallower.age.closureTemperatureC, row.age.closureTemperatureC - 5);
}

// K-feldspar's Dodson row takes the one domain's own constants (Ea 192.46 kJ/mol, Omega = 8.7 x
// 1e5 /s), so the kinetic closure on linear cooling lies within 4 C above it (Dodson 1973).
TEST(KineticRows, KFeldsparClosesJustAboveItsDodsonClosure)
{
    ages::AgeSettings settings;
    settings.systems = { System::KAr };
    const std::vector<ages::AgeRow> rows = ages::pathAgeRows(linearCooling(500, 10), settings);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].method, Method::Dodson);
    EXPECT_EQ(rows[1].method, Method::Diffusion);
    EXPECT_EQ(rows[1].age.kinetics, Kinetics::Lovera1997);
    const double above = rows[1].age.closureTemperatureC - rows[0].age.closureTemperatureC;
    EXPECT_GT(above, 0);
    EXPECT_LT(above, 4);
}

// Each argon mineral is dated with its own radius option: a larger domain keeps its argon to a
// higher temperature. K-feldspar's domain is published as D0/a^2 and reads no radius.
TEST(KineticRows, ArgonRowsReadTheRadiusOfTheirMineral)
{
    struct Case {
        System system;
        double ages::AgeSettings::*radius;
    };
    for (const Case& c : { Case { System::BAr, &ages::AgeSettings::biotiteRadiusUm },
             Case { System::MAr, &ages::AgeSettings::muscoviteRadiusUm },
             Case { System::HAr, &ages::AgeSettings::hornblendeRadiusUm } }) {
        ages::AgeSettings settings = kineticOnly(c.system);
        const double small
            = onlyRow(ages::pathAgeRows(linearCooling(800, 10), settings)).age.closureTemperatureC;
        settings.*c.radius *= 4;
        const double large
            = onlyRow(ages::pathAgeRows(linearCooling(800, 10), settings)).age.closureTemperatureC;
        EXPECT_GT(large, small + 10) << thermochron::systemName(c.system);
    }
    ages::AgeSettings feldspar = kineticOnly(System::KAr);
    const double closure
        = onlyRow(ages::pathAgeRows(linearCooling(500, 10), feldspar)).age.closureTemperatureC;
    feldspar.apatiteRadiusUm = 400;
    EXPECT_EQ(onlyRow(ages::pathAgeRows(linearCooling(500, 10), feldspar)).age.closureTemperatureC,
        closure);
}

// The default radius of each argon option is its calibration's.
TEST(KineticRows, ArgonRadiusDefaultsAreTheCalibrationsRadii)
{
    const ages::AgeSettings settings;
    EXPECT_EQ(settings.biotiteRadiusUm, thermochron::argonKinetics(Kinetics::Grove1996).radiusUm);
    EXPECT_EQ(
        settings.muscoviteRadiusUm, thermochron::argonKinetics(Kinetics::Harrison2009).radiusUm);
    EXPECT_EQ(
        settings.hornblendeRadiusUm, thermochron::argonKinetics(Kinetics::Harrison1981).radiusUm);
    EXPECT_EQ(settings.pressureKbar, thermochron::defaultPressureKbar);
}

TEST(KineticRows, EverySystemHasAKineticRow)
{
    ages::AgeSettings settings;
    settings.systems.assign(std::begin(thermochron::allSystems), std::end(thermochron::allSystems));
    settings.methods = ages::MethodChoice::kinetic;
    const std::vector<ages::AgeRow> rows = ages::pathAgeRows(linearCooling(800, 10), settings);
    ASSERT_EQ(rows.size(), std::size(thermochron::allSystems));
    for (const ages::AgeRow& row : rows) {
        EXPECT_NE(row.method, Method::Dodson);
        EXPECT_TRUE(std::isfinite(row.age.ageMa)) << thermochron::systemName(row.system);
    }
}

TEST(KineticRows, RadiusAndPressureOptionsAreRangeChecked)
{
    ages::AgeSettings settings;
    settings.biotiteRadiusUm = 5;
    EXPECT_EQ(
        *ages::settingsError(settings), "--biotite-radius must be from 10 to 5000 um (got 5)");
    settings = {};
    settings.hornblendeRadiusUm = 6000;
    EXPECT_EQ(*ages::settingsError(settings),
        "--hornblende-radius must be from 10 to 5000 um (got 6000)");
    settings = {};
    settings.pressureKbar = -1;
    EXPECT_EQ(*ages::settingsError(settings), "--pressure must be from 0 to 30 kbar (got -1)");
    settings = {};
    settings.pressureKbar = std::nan("");
    EXPECT_TRUE(ages::settingsError(settings).has_value());
    settings = {};
    settings.kinetics.zirconFissionTrack = Kinetics::Zrdaam;
    EXPECT_EQ(*ages::settingsError(settings),
        "--zircon-ft-kinetics: zrdaam serves ZHe, not ZFT (choose yamada2007 or guenthner2013)");
}

// Ten million years at one temperature, Dpar 1.75 um: the AFT row's lengths are the converged
// mixture's, within 0.05 um.
TEST(KineticRows, AftRowsCarryTheLengthsOfTheConvergedMixture)
{
    struct Case {
        double temperatureC;
        double projectedMean, projectedSd, unprojectedMean, unprojectedSd;
    };
    const Case cases[] = {
        { 0, 15.808, 0.785, 15.272, 1.070 },
        { 20, 15.504, 0.778, 14.885, 1.059 },
        { 60, 14.353, 0.792, 13.265, 1.160 },
        { 90, 12.301, 1.085, 9.767, 2.299 },
        { 110, 11.820, 1.347, 9.111, 2.704 },
    };
    for (const Case& c : cases) {
        const ages::AgeRow row
            = onlyRow(ages::pathAgeRows(hold(10, c.temperatureC), kineticOnly(System::AFT)));
        EXPECT_NEAR(row.lengths.projectedMeanUm, c.projectedMean, 0.05) << c.temperatureC;
        EXPECT_NEAR(row.lengths.projectedSdUm, c.projectedSd, 0.05) << c.temperatureC;
        EXPECT_NEAR(row.lengths.unprojectedMeanUm, c.unprojectedMean, 0.05) << c.temperatureC;
        EXPECT_NEAR(row.lengths.unprojectedSdUm, c.unprojectedSd, 0.05) << c.temperatureC;
        EXPECT_TRUE(row.lengths.projectedBins.empty()); // kept only when asked for
    }
}

// The bins kept for --lengths-output hold the whole distribution: they sum to 1, and their
// mean is the row's mean to within the bin width's rounding.
TEST(KineticRows, KeptBinsHoldTheWholeDistribution)
{
    ages::AgeSettings settings = kineticOnly(System::AFT);
    settings.keepLengthBins = true;
    const ages::AgeRow row = onlyRow(ages::pathAgeRows(hold(10, 90), settings));
    ASSERT_EQ(row.lengths.projectedBins.size(), 200u);
    ASSERT_EQ(row.lengths.unprojectedBins.size(), 200u);
    double projected = 0, unprojected = 0, mean = 0;
    for (std::size_t k = 0; k < 200; ++k) {
        projected += row.lengths.projectedBins[k];
        unprojected += row.lengths.unprojectedBins[k];
        mean += (k + 0.5) * 0.1 * row.lengths.projectedBins[k];
    }
    EXPECT_NEAR(projected, 1, 1e-9);
    EXPECT_NEAR(unprojected, 1, 1e-9);
    EXPECT_NEAR(mean, row.lengths.projectedMeanUm, 0.01);
}

// Cf-irradiated mounts reveal more of the short tracks: the linear r_m = 1.396 r_c - 0.4017 of
// Ketcham et al. (1999) makes the unprojected tracks of an annealed sample longer; the projected
// ones do not change.
TEST(KineticRows, CaliforniumIrradiationChangesOnlyTheUnprojectedLengths)
{
    ages::AgeSettings settings = kineticOnly(System::AFT);
    const ages::AgeRow plain = onlyRow(ages::pathAgeRows(hold(10, 90), settings));
    settings.californiumIrradiated = true;
    const ages::AgeRow irradiated = onlyRow(ages::pathAgeRows(hold(10, 90), settings));
    EXPECT_EQ(irradiated.lengths.projectedMeanUm, plain.lengths.projectedMeanUm);
    EXPECT_EQ(irradiated.age.ageMa, plain.age.ageMa);
    EXPECT_GT(irradiated.lengths.unprojectedMeanUm, plain.lengths.unprojectedMeanUm + 0.5);
}

TEST(KineticRows, OnlyAftAnnealingRowsHaveLengths)
{
    ages::AgeSettings settings;
    settings.systems = { System::AHe, System::AFT, System::ZFT };
    for (const ages::AgeRow& row : ages::pathAgeRows(linearCooling(300, 10), settings)) {
        const bool lengths = row.system == System::AFT && row.method == Method::Annealing;
        EXPECT_EQ(std::isfinite(row.lengths.projectedMeanUm), lengths)
            << thermochron::systemName(row.system) << " " << thermochron::methodName(row.method);
    }
}

} // namespace
