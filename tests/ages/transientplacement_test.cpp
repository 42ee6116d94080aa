// Samples at their elevations in the transient model's fit: a rock h above the mean surface
// follows the surface rock's path h / u earlier, so on a run long enough for the column to be
// steady its age is older by h / u; samples that carry elevations need --mean-elevation.

#include "agerun.h"
#include "fitoptions.h"
#include "inputerror.h"
#include "observedfit.h"
#include "units.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// kappa / u^2 is the time the half-space takes to reach its steady state under erosion at u
// (about 43 Myr at 1 mm/yr for kappa = 1.36e-6 m2/s): runs of several such times are steady.
ages::AgeRequest steadyRun(double rateMmYr, double exposureMyr = 10)
{
    ages::AgeRequest request;
    request.model = ages::Model::transient;
    request.transient.historyTime = exposureMyr;
    request.transient.setErosionRate(rateMmYr);
    return request;
}

std::vector<thermochron::Age> placedAges(const ages::AgeRequest& request,
    const ages::FitOptions& options, const std::string& measured)
{
    std::istringstream stream(measured);
    const ages::ObservedFit fit(
        request, options, ages::parseCheckedSamples(stream, request, options));
    return fit.predictions(request.transient.erosionRate);
}

TEST(TransientPlacement, ASampleHHigherIsHOverTheRateOlder)
{
    const struct {
        double rateMmYr;
        double heightM;
        double exposureMyr; // six or more times kappa / u^2
    } cases[] = { { 1.0, 1000, 300 }, { 2.0, 600, 80 }, { 0.6, 400, 800 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rateMmYr);
        ages::AgeRequest request = steadyRun(c.rateMmYr, c.exposureMyr);
        ages::FitOptions options;
        options.observedFile = "profile.csv";
        options.meanElevationM = 2000;
        options.meanElevationGiven = true;
        const std::string measured = "sample,system,elevation_m,age_ma,sigma_ma\nlow,AHe,2000,1,0.1\n"
            "high,AHe," + std::to_string(2000 + c.heightM) + ",1,0.1\n";
        const auto ages = placedAges(request, options, measured);
        ASSERT_EQ(ages.size(), 2u);
        // u = rate x 1000 m/Myr: h / u Myr more since the rock passed each isotherm.
        const double expected = c.heightM / (c.rateMmYr * units::metresPerMyrPerMmPerYear);
        EXPECT_NEAR(ages[1].ageMa - ages[0].ageMa, expected, 0.01 * expected);
    }
}

TEST(TransientPlacement, ElevationsWithoutTheMeanSurfaceAreRefused)
{
    const ages::AgeRequest request = steadyRun(0.5);
    ages::FitOptions options;
    options.observedFile = "profile.csv";
    const std::string measured
        = "sample,system,elevation_m,age_ma,sigma_ma\nsurface,AHe,,1,0.1\nhigh,AHe,2500,1,0.1\n";
    try {
        placedAges(request, options, measured);
        FAIL() << "elevations were taken without --mean-elevation";
    } catch (const ages::InputError& error) {
        EXPECT_STREQ(error.what(),
            "the samples carry elevations (elevation_m, line 3): give --mean-elevation M, the "
            "field elevation of the column's surface, to place each sample at its height above "
            "it");
    }
}

} // namespace
