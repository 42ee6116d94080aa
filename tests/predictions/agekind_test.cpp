// Which computation each measured sample needs: its own grain over the age options, the kinetic
// method unless Dodson is asked for, and samples of one kind sharing one computation.

#include "agekind.h"
#include "samplepredictor.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using thermochron::Method;

std::vector<ages::ObservedAge> samples(const std::string& rows)
{
    std::istringstream text(
        "sample,system,age_ma,sigma_ma,radius_um,u_ppm,th_ppm,dpar_um,sm_ppm\n" + rows);
    return ages::parseObservedAges(text, "ages.csv");
}

TEST(AgeKind, OwnGrainValuesOverrideTheOptionsForThatSampleOnly)
{
    ages::AgeSettings settings;
    settings.apatiteRadiusUm = 50;
    settings.zirconRadiusUm = 70;
    settings.dparUm = 2.0;
    settings.smPpm = 40;
    const auto rows = samples("a,AHe,5,0.5,,,,,\n"
                              "b,AHe,5,0.5,90,30,,,150\n"
                              "c,ZHe,9,0.5,,,,,\n"
                              "d,AFT,9,0.5,120,,,2.6,\n"
                              "e,ZFT,20,2,,,,,\n"
                              "f,AHe,6,0.5,,,,,\n");
    const auto kinds = ages::sampleAgeKinds(rows, settings, "ages.csv");
    EXPECT_EQ(kinds[0].method, Method::Diffusion);
    EXPECT_EQ(kinds[0].grain.radiusUm, 50);
    EXPECT_EQ(kinds[1].grain.radiusUm, 90);
    EXPECT_EQ(kinds[1].grain.uPpm, 30);
    EXPECT_EQ(kinds[1].grain.thPpm, settings.thPpm);
    EXPECT_EQ(kinds[0].grain.smPpm, 40);
    EXPECT_EQ(kinds[1].grain.smPpm, 150);
    EXPECT_EQ(kinds[2].grain.radiusUm, 70);
    EXPECT_EQ(kinds[3].method, Method::Annealing);
    EXPECT_EQ(kinds[3].grain.dparUm, 2.6);
    EXPECT_EQ(kinds[4].method, Method::Annealing); // zircon tracks: Yamada et al. (2007)

    // a and f need the same computation; a radius that annealing does not read changes nothing.
    const ages::SamplePredictor predictor(kinds);
    EXPECT_EQ(predictor.kindCount(), 5u);
    EXPECT_EQ(predictor.kindOfSample(0), predictor.kindOfSample(5));

    settings.methods = ages::MethodChoice::dodson;
    const auto dodson = ages::sampleAgeKinds(rows, settings, "ages.csv");
    EXPECT_EQ(ages::SamplePredictor(dodson).kindCount(), 4u); // one per system
}

TEST(AgeKind, KineticsFollowTheOptions)
{
    using thermochron::Kinetics;
    ages::AgeSettings settings;
    settings.kinetics = { Kinetics::Farley, Kinetics::Reiners, Kinetics::Guenthner2013 };
    const auto kinds = ages::sampleAgeKinds(samples("a,AHe,5,0.5,,,,,\nb,ZHe,9,0.5,,,,,\nc,AFT,9,"
                                                    "0.5,,,,,\nd,ZFT,20,2,,,,,\ne,MAr,30,2,,,,,\n"),
        settings, "ages.csv");
    const std::vector expected { Kinetics::Farley, Kinetics::Reiners, Kinetics::Ketcham2007,
        Kinetics::Guenthner2013, Kinetics::Harrison2009 };
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(kinds[i].kinetics, expected[i]) << i;
}

// An argon sample is dated with its own radius (or its mineral's option) and the pressure, and
// reads none of the helium grain's values; K-feldspar's domain reads no radius at all.
TEST(AgeKind, ArgonSamplesReadTheirRadiusAndThePressureOnly)
{
    ages::AgeSettings settings;
    settings.biotiteRadiusUm = 250;
    settings.pressureKbar = 8;
    settings.uPpm = 77;
    const auto kinds = ages::sampleAgeKinds(samples("a,BAr,30,1,,,,,\nb,BAr,30,1,400,5,,,\n"
                                                    "c,KAr,20,1,300,,,,\nd,KAr,20,1,,,,,\n"),
        settings, "ages.csv");
    EXPECT_EQ(kinds[0].method, Method::Diffusion);
    EXPECT_EQ(kinds[0].grain.radiusUm, 250);
    EXPECT_EQ(kinds[0].grain.pressureKbar, 8);
    EXPECT_EQ(kinds[0].grain.uPpm, thermochron::Grain {}.uPpm); // not read: left at the default
    EXPECT_EQ(kinds[1].grain.radiusUm, 400);
    // K-feldspar: the radius given changes nothing, so both need one computation.
    EXPECT_EQ(ages::SamplePredictor(kinds).kindCount(), 3u);

    // A biotite of 5 um is beyond the argon radii the options take (10 to 5000 um).
    try {
        ages::sampleAgeKinds(samples("a,BAr,30,1,5,,,,\n"), settings, "ages.csv");
        ADD_FAILURE() << "accepted a 5 um biotite";
    } catch (const ages::ObservedAgesError& error) {
        EXPECT_EQ(
            std::string(error.what()), "ages.csv line 2: radius 5 um is outside 10 to 5000 um");
    }
}

TEST(AgeKind, AnUnusableOwnGrainIsRefusedWithItsLine)
{
    // Too small a grain for the ejection correction, negative U, negative Sm, no U, Th or Sm, too
    // wide pits.
    for (const char* row : { "a,AHe,5,0.5,20,,,,\n", "a,AHe,5,0.5,,-1,,,\n", "a,AHe,5,0.5,,,,,-3\n",
             "a,AHe,5,0.5,,0,0,,\n", "a,AFT,5,0.5,,,,6,\n" }) {
        const auto rows = samples(std::string("ok,AHe,5,0.5,,,,,\n") + row);
        try {
            ages::sampleAgeKinds(rows, {}, "ages.csv");
            ADD_FAILURE() << "accepted " << row;
        } catch (const ages::ObservedAgesError& error) {
            EXPECT_NE(std::string(error.what()).find("ages.csv line 3: "), std::string::npos)
                << error.what();
        }
    }
}

} // namespace
