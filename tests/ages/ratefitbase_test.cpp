// The rate fits of the transient and periodic models with the geotherm fitted too (--fit-base):
// ages made by the model's own table at a known rate and base come back at both, within their
// ranges; the map's row at one base is the fit on that fixed geotherm; bounds and combinations
// the fit cannot use are refused before any work.

#include "agerun.h"
#include "fitoptions.h"
#include "observedfit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace {

using ages::AgeRequest;
using ages::Model;
using thermochron::System;

// Closure temperatures from about 70 C (AHe) to about 240 C (ZFT): ages that see the gradient
// at different depths, which separates rate and geotherm. Dodson's closure keeps the grid cheap.
AgeRequest requestAt(Model model, double rateMmYr, double base)
{
    AgeRequest request;
    request.model = model;
    request.settings.systems = { System::AHe, System::AFT, System::ZHe, System::ZFT };
    request.settings.methods = ages::MethodChoice::dodson;
    if (model == Model::transient) {
        request.transient.historyTime = 30;
        request.transient.setErosionRate(rateMmYr);
        request.transient.basalGradient = base;
    } else {
        request.periodic.historyDuration = 40;
        request.periodic.pointCount = 41;
        request.periodic.erosionRate = rateMmYr;
        request.periodic.basalTemp = base;
    }
    return request;
}

// The table's ages as measured ages (sigma a share of each): every row of the transient model's
// one rock, and the periodic model's rows at its named sites (ridge, mid-slope, valley), each at
// the elevation the table gives it.
std::string measuredAges(const AgeRequest& request, double sigmaShare)
{
    std::string text = "sample,system,elevation_m,age_ma,sigma_ma\n";
    int count = 0;
    for (const ages::AgeRow& row : ages::requestedAgeRows(request)) {
        if (request.model == Model::periodic && row.site.empty())
            continue;
        text += "s" + std::to_string(++count) + "," + std::string(thermochron::systemName(row.system))
            + "," + (std::isnan(row.elevationM) ? std::string() : std::to_string(row.elevationM))
            + "," + std::to_string(row.age.ageMa) + ","
            + std::to_string(sigmaShare * row.age.ageMa) + "\n";
    }
    return text;
}

ages::FitResult fitted(const AgeRequest& request, const ages::FitOptions& options,
    const std::string& measured)
{
    std::istringstream stream(measured);
    const ages::ObservedFit fit(
        request, options, ages::parseCheckedSamples(stream, request, options));
    return ages::requestedFit(request, fit);
}

struct ModelCase {
    Model model;
    double rate; // mm/yr, the ages' own
    double base; // their -B (C/m) or -b (C), between two grid bases
    ages::RateSweep sweep;
    ages::ValueBounds bounds;
    double otherBase; // the request's own base, which the fit must not take
};

const ModelCase modelCases[] = {
    { Model::transient, 0.62, 0.029, { 0.3, 1.2, 0.02 }, { 0.018, 0.042 }, 0.025 },
    { Model::periodic, 0.47, 1130, { 0.25, 0.85, 0.02 }, { 800, 1400 }, 1250 },
};

TEST(RateFitBase, AgesOfAKnownRateAndBaseFitBackToBoth)
{
    for (const ModelCase& c : modelCases) {
        SCOPED_TRACE(c.model == Model::transient ? "transient" : "periodic");
        const std::string measured = measuredAges(requestAt(c.model, c.rate, c.base), 0.03);
        AgeRequest request = requestAt(c.model, 1.0, c.otherBase);
        request.sweep = c.sweep;
        ages::FitOptions options;
        options.observedFile = "made.csv";
        options.fitBase = c.bounds;
        ASSERT_FALSE(ages::fitOptionsError(request, options));
        const ages::FitResult result = fitted(request, options, measured);
        ASSERT_TRUE(result.base);
        const ages::RateFit& base = result.base->base;
        EXPECT_LE(result.fit.rangeLow, c.rate);
        EXPECT_GE(result.fit.rangeHigh, c.rate);
        EXPECT_LE(base.rangeLow, c.base);
        EXPECT_GE(base.rangeHigh, c.base);
        // Noise-free ages: the valley's floor reaches chi2 = 0 at the truth, between grid bases.
        EXPECT_LT(result.fit.chi2Min, 0.1);
        EXPECT_EQ(result.base->chi2.size(), result.fit.rates.size() * result.base->bases.size());
    }
}

TEST(RateFitBase, TheMapAtOneBaseIsTheFitOnThatFixedGeotherm)
{
    for (const ModelCase& c : modelCases) {
        SCOPED_TRACE(c.model == Model::transient ? "transient" : "periodic");
        const std::string measured = measuredAges(requestAt(c.model, c.rate, c.base), 0.03);
        AgeRequest request = requestAt(c.model, 1.0, c.otherBase);
        request.sweep = c.sweep;
        ages::FitOptions options;
        options.observedFile = "made.csv";
        options.fitBase = c.bounds;
        const ages::FitResult grid = fitted(request, options, measured);
        ASSERT_TRUE(grid.base);

        const std::size_t j = 2; // a base of the grid's inside
        const double base = grid.base->bases[j];
        AgeRequest fixed = requestAt(c.model, 1.0, base);
        fixed.sweep = c.sweep;
        ages::FitOptions today;
        today.observedFile = "made.csv";
        const ages::FitResult alone = fitted(fixed, today, measured);
        ASSERT_FALSE(alone.base);
        const std::size_t rates = alone.fit.rates.size();
        ASSERT_EQ(grid.fit.rates.size(), rates);
        for (std::size_t i = 0; i < rates; ++i)
            EXPECT_NEAR(grid.base->chi2[j * rates + i], alone.fit.chi2[i],
                1e-9 * (1 + alone.fit.chi2[i]))
                << "rate " << alone.fit.rates[i];
    }
}

TEST(RateFitBase, RefusesWhatItCannotFit)
{
    const struct {
        Model model;
        bool observed;
        bool sweep;
        ages::ValueBounds bounds;
        const char* message;
    } cases[] = {
        { Model::periodic, false, true, { 800, 1400 },
            "--fit-base fits the geotherm to measured ages: add --observed FILE" },
        { Model::transient, true, false, { 0.02, 0.03 },
            "--fit-base fits the geotherm with the rate: give --rates START:STOP:STEP instead of "
            "-r" },
        { Model::periodic, true, true, { 1000, 1000 },
            "--fit-base 1000:1000: the bounds need MIN < MAX" },
        { Model::transient, true, true, { 0.03, 0.02 },
            "--fit-base 0.03:0.02: the bounds need MIN < MAX" },
        { Model::transient, true, true, { -0.01, 0.03 },
            "--fit-base -0.01:0.03: -B basal gradient must be greater than 0 C/m" },
    };
    for (const auto& c : cases) {
        AgeRequest request = requestAt(c.model, 0.5, 0.025);
        if (c.sweep)
            request.sweep = ages::RateSweep { 0.3, 0.8, 0.1 };
        ages::FitOptions options;
        options.observedFile = c.observed ? "made.csv" : "";
        options.fitBase = c.bounds;
        const auto error = ages::fitOptionsError(request, options);
        ASSERT_TRUE(error) << c.message;
        EXPECT_EQ(error->substr(0, std::string(c.message).size()), c.message);
    }
}

} // namespace
