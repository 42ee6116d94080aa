// Fits of ramp and decay phases: the parameter vector and its table columns; the grid and the
// sampler on misfits whose minimum and ranges are known in closed form; ages made by the history
// model along a known ramp or decay fitted back; a ramp fitted to a constant history; the
// program's refusals and its best history rerun through --erosion.

#include "historyfiles.h"
#include "historyfit.h"
#include "historymisfit.h"
#include "programtables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

namespace {

using ages::ErosionHistory;
using ages::HistoryFit;
using ages::HistorySpace;
using ages::PhaseShape;
using thermochron::System;

TEST(ShapedSpace, EachRampOrDecayAddsOneParameterAfterItsPhasesRate)
{
    const struct {
        std::vector<PhaseShape> shapes;
        std::vector<double> parameters;
        const char* columns;
        const char* history; // the vector as --erosion writes it
    } cases[] = {
        { { PhaseShape::Constant, PhaseShape::Constant }, { 0.3, 8, 0.6 },
            "start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr", "20:0.300,8.00:0.600" },
        { { PhaseShape::Ramp }, { 0.3, 0.9 }, "start_1_ma,rate_1_mm_yr,end_rate_1_mm_yr",
            "20:0.300~0.900" },
        { { PhaseShape::Constant, PhaseShape::Decay }, { 0.3, 8, 1.5, 4 },
            "start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,tau_2_myr", "20:0.300,8.00:1.500/4" },
        { { PhaseShape::Ramp, PhaseShape::Constant, PhaseShape::Decay },
            { 0.1, 0.5, 12, 0.4, 5, 2, 3 },
            "start_1_ma,rate_1_mm_yr,end_rate_1_mm_yr,start_2_ma,rate_2_mm_yr,start_3_ma,"
            "rate_3_mm_yr,tau_3_myr",
            "20:0.100~0.500,12.00:0.400,5.00:2.000/3" },
    };
    for (const auto& c : cases) {
        HistorySpace space { static_cast<int>(c.shapes.size()), 20, { 0.05, 2.0 }, { 1, 19 }, 10 };
        space.shapes = c.shapes;
        EXPECT_EQ(space.parameterCount(), static_cast<int>(c.parameters.size())) << c.columns;
        std::string columns;
        for (const std::string& name : ages::historyColumnNames(space))
            columns += (columns.empty() ? "" : ",") + name;
        EXPECT_EQ(columns, c.columns);
        EXPECT_EQ(
            thermal::formatErosionHistory(ages::historyOf(space, c.parameters), 2, 3), c.history);
        EXPECT_TRUE(ages::isInside(space, c.parameters)) << c.history;
    }
}

// chi2 = floor + d^T C^-1 d for d = (x0 - a, x1 - b), C = [[s^2, rho s t], [rho s t, t^2]]: the
// profile of x0 (chi2 minimised over x1) is floor + ((x0 - a) / s)^2, so its range at
// chi2_min + 1 is a +- s exactly, and that of x1 is b +- t, whatever rho.
struct Ridge {
    double a, b, s, t, rho, floor;

    double operator()(double x0, double x1) const
    {
        const double u = (x0 - a) / s, v = (x1 - b) / t;
        return floor + (u * u - 2 * rho * u * v + v * v) / (1 - rho * rho);
    }
};

TEST(ShapedGrid, FindsARidgesMinimumAndReadsEachRangeOffItsProfile)
{
    const struct {
        PhaseShape shape;
        Ridge ridge; // x1: the end rate (mm/yr) or TAU (Myr)
    } cases[] = {
        { PhaseShape::Ramp, { 0.4, 0.9, 0.05, 0.08, -0.7, 2 } },
        { PhaseShape::Decay, { 0.8, 12, 0.06, 2.0, 0.6, 2 } },
    };
    for (const auto& c : cases) {
        HistorySpace space { 1, 30, { 0.05, 2.0 }, {}, 10 };
        space.shapes = { c.shape };
        space.decayTimesMyr = { 1.5, 60 };
        const Ridge ridge = c.ridge;
        const auto misfit = [&](const ErosionHistory& history) {
            const ages::ErosionPhase& phase = history.at(0);
            EXPECT_EQ(phase.shape, c.shape);
            return ridge(
                phase.rateMmYr, c.shape == PhaseShape::Ramp ? phase.endRateMmYr : phase.decayMyr);
        };
        const HistoryFit fit = ages::fitHistory(space, misfit);
        EXPECT_EQ(ages::historyEngine(space, {}), ages::HistorySampler::grid);
        EXPECT_NEAR(fit.best[0], ridge.a, 0.05 * ridge.s);
        EXPECT_NEAR(fit.best[1], ridge.b, 0.05 * ridge.t);
        EXPECT_NEAR(fit.level.chi2Min, ridge.floor, 0.01);
        ASSERT_EQ(fit.parameterProfiles.size(), 2u);
        const double centre[] = { ridge.a, ridge.b }, width[] = { ridge.s, ridge.t };
        for (std::size_t p = 0; p < 2; ++p) {
            const ages::ChangeTimeProfile& curve = fit.parameterProfiles[p].curve;
            EXPECT_EQ(fit.parameterProfiles[p].parameter, p);
            EXPECT_NEAR(curve.rangeLowMa, centre[p] - width[p], 0.03 * width[p]) << p;
            EXPECT_NEAR(curve.rangeHighMa, centre[p] + width[p], 0.03 * width[p]) << p;
        }
    }
}

TEST(ShapedSampler, TwoPhasesWithARampGiveEachParametersPosteriorInterval)
{
    // A separable Gaussian in (r1, t, r2, r2_end): every marginal is normal, and its 68 %
    // interval is the centre +- sigma.
    const double centre[] = { 0.5, 9.0, 0.3, 1.2 }, sigma[] = { 0.04, 0.8, 0.03, 0.1 };
    HistorySpace space { 2, 20, { 0.05, 2.0 }, { 1, 19 }, 20 };
    space.shapes = { PhaseShape::Constant, PhaseShape::Ramp };
    const auto misfit = [&](const ErosionHistory& h) {
        const double x[] = { h[0].rateMmYr, h[1].startMa, h[1].rateMmYr, h[1].endRateMmYr };
        double chi2 = 0;
        for (int i = 0; i < 4; ++i)
            chi2 += std::pow((x[i] - centre[i]) / sigma[i], 2);
        return chi2;
    };
    ages::HistoryFitSettings settings;
    settings.mcmc.steps = 3000;
    EXPECT_EQ(ages::historyEngine(space, settings), ages::HistorySampler::mcmc);
    const HistoryFit fit = ages::fitHistory(space, misfit, settings);
    ASSERT_TRUE(fit.posterior);
    ASSERT_EQ(fit.posterior->intervals.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const ages::ParameterInterval& interval = fit.posterior->intervals[i];
        EXPECT_NEAR(interval.median, centre[i], 0.15 * sigma[i]) << i;
        EXPECT_NEAR(interval.high - interval.low, 2 * sigma[i], 0.2 * sigma[i]) << i;
    }
    // A profile for each rate (r1, r2, the end rate), none for the change time.
    ASSERT_EQ(fit.parameterProfiles.size(), 3u);
    EXPECT_EQ(fit.parameterProfiles[2].parameter, 3u);
    EXPECT_LT(fit.parameterProfiles[2].curve.rangeLowMa, centre[3]);
    EXPECT_GT(fit.parameterProfiles[2].curve.rangeHighMa, centre[3]);
}

// Ages of one rock in four systems of different closure temperatures, made by the history model
// along history, with 2 % errors.
std::vector<ages::ObservedAge> agesAlong(const ErosionHistory& history)
{
    std::vector<ages::ObservedAge> samples;
    for (const System system : { System::AHe, System::AFT, System::ZHe, System::ZFT }) {
        ages::ObservedAge sample;
        sample.line = static_cast<int>(samples.size()) + 2;
        sample.sample = "S";
        sample.system = system;
        samples.push_back(sample);
    }
    const auto kinds = ages::sampleAgeKinds(samples, {}, "synthetic");
    const auto predicted = ages::HistoryAgeMisfit({}, samples, kinds).predictions(history);
    EXPECT_TRUE(predicted);
    for (std::size_t i = 0; predicted && i < samples.size(); ++i) {
        samples[i].ageMa = (*predicted)[i].ageMa;
        samples[i].sigmaMa = 0.02 * samples[i].ageMa;
    }
    return samples;
}

HistoryFit fitOnePhase(const std::vector<ages::ObservedAge>& samples, PhaseShape shape)
{
    const auto kinds = ages::sampleAgeKinds(samples, {}, "synthetic");
    const ages::HistoryAgeMisfit misfit({}, samples, kinds);
    HistorySpace space { 1, 40, { 0.05, 2.0 }, {}, samples.size() };
    if (shape != PhaseShape::Constant)
        space.shapes = { shape };
    space.decayTimesMyr = { 2, 80 }; // the request's default for a 40 Myr path
    return ages::fitHistory(space, std::cref(misfit));
}

TEST(ShapedFit, AgesOfAKnownRampOrDecayFitBackToItsParametersWithinTheirRanges)
{
    const struct {
        const char* history;
        PhaseShape shape;
        double first, second; // the history's rate at 40 Ma and its end rate or TAU
    } cases[] = {
        { "40:0.1~0.7", PhaseShape::Ramp, 0.1, 0.7 },
        { "40:0.9/15", PhaseShape::Decay, 0.9, 15 },
    };
    for (const auto& c : cases) {
        const HistoryFit fit
            = fitOnePhase(agesAlong(thermal::parseErosionHistory(c.history)), c.shape);
        ASSERT_EQ(fit.parameterProfiles.size(), 2u);
        EXPECT_LT(fit.level.chi2Min, 0.05) << c.history; // the truth is in the space: chi2 0
        const double truth[] = { c.first, c.second };
        for (std::size_t p = 0; p < 2; ++p) {
            const ages::ChangeTimeProfile& curve = fit.parameterProfiles[p].curve;
            EXPECT_LE(curve.rangeLowMa, truth[p]) << c.history << " parameter " << p;
            EXPECT_GE(curve.rangeHighMa, truth[p]) << c.history << " parameter " << p;
            // The ages pin it: the range is a fraction of the bounds.
            const ages::ValueBounds bounds = ages::parameterBounds(fit.space, p);
            EXPECT_LT(curve.rangeHighMa - curve.rangeLowMa, 0.5 * (bounds.high - bounds.low))
                << c.history << " parameter " << p;
        }
    }
}

TEST(ShapedFit, ARampFittedToAConstantHistoryHasEqualRatesAndTheConstantFitsMisfit)
{
    const std::vector<ages::ObservedAge> samples
        = agesAlong(thermal::parseErosionHistory("40:0.35"));
    const HistoryFit constant = fitOnePhase(samples, PhaseShape::Constant);
    const HistoryFit ramp = fitOnePhase(samples, PhaseShape::Ramp);
    ASSERT_TRUE(constant.rateFit);
    EXPECT_NEAR(constant.rateFit->bestRate, 0.35, 0.005);
    ASSERT_EQ(ramp.parameterProfiles.size(), 2u);
    for (const ages::ParameterProfile& profile : ramp.parameterProfiles) {
        EXPECT_LE(profile.curve.rangeLowMa, constant.rateFit->bestRate);
        EXPECT_GE(profile.curve.rangeHighMa, constant.rateFit->bestRate);
    }
    EXPECT_NEAR(ramp.best[0], ramp.best[1], 0.05 * ramp.best[0]);
    EXPECT_NEAR(ramp.level.chi2Min, constant.level.chi2Min, 0.05);
}

class ShapedFitProgram : public agestest::ScratchDirectoryTest {
protected:
    // Ages made along a ramp, as the program reads them.
    std::string observedAlongARamp() const
    {
        std::string text = "sample,system,age_ma,sigma_ma\n";
        for (const ages::ObservedAge& age : agesAlong(thermal::parseErosionHistory("40:0.1~0.7")))
            text += "S," + std::string(thermochron::systemName(age.system)) + ","
                + textformat::number(age.ageMa) + "," + textformat::number(age.sigmaMa) + "\n";
        return write("observed.csv", text);
    }
};

TEST_F(ShapedFitProgram, RefusesAnUnknownShapeAMiscountAndOptionsItWouldIgnore)
{
    const std::string observed = observedAlongARamp();
    const struct {
        std::vector<std::string> words;
        const char* message;
    } cases[] = {
        { { "--fit-phases", "2", "--fit-shapes", "ramp,bogus" },
            "ERROR: --fit-shapes expects constant, ramp or decay for each phase, got 'bogus'\n" },
        { { "--fit-phases", "2", "--fit-shapes", "ramp" },
            "ERROR: --fit-shapes ramp names 1 shape for --fit-phases 2: give one word per "
            "phase\n" },
        { { "--fit-phases", "1", "--fit-shapes", "ramp", "--decay-times", "1:10" },
            "ERROR: --decay-times bounds the TAU of a decay phase: add decay to --fit-shapes, "
            "or leave --decay-times out\n" },
        { { "--fit-phases", "1", "--fit-shapes", "decay", "--decay-times", "10:1" },
            "ERROR: --decay-times MIN:MAX needs 0 < MIN < MAX (Myr), got 10:1\n" },
        { { "--fit-phases", "2", "--fit-shapes", "ramp,constant", "--sampler", "grid" },
            "ERROR: --sampler grid fits a ramp or a decay in one phase; two phases with a ramp "
            "or a decay take --sampler mcmc\n" },
        { { "--fit-shapes", "ramp" },
            "ERROR: --fit-shapes sets up a fit: add --fit-phases N (and the measured ages, "
            "--observed FILE)\n" },
    };
    for (const auto& c : cases) {
        std::vector<std::string> words { "history", "--erosion", "40:0.3", "--observed", observed,
            "--output", file("ages.csv") };
        words.insert(words.end(), c.words.begin(), c.words.end());
        const agestest::Finished finished = agestest::runCoolingAges(words);
        EXPECT_EQ(finished.status, 1) << c.message;
        EXPECT_EQ(finished.err, c.message);
        EXPECT_FALSE(std::filesystem::exists(file("ages.csv"))) << c.message;
    }
}

TEST_F(ShapedFitProgram, TheBestRampIsPrintedInTheErosionSyntaxAndRerunsToItsChi2)
{
    const std::string observed = observedAlongARamp();
    const agestest::Finished fitted = agestest::runCoolingAges({ "history", "--erosion", "40:0.3",
        "--observed", observed, "--fit-phases", "1", "--fit-shapes", "ramp", "--fit-output",
        file("fit.csv"), "--output", file("ages.csv") });
    ASSERT_EQ(fitted.status, 0) << fitted.err;
    std::smatch best;
    ASSERT_TRUE(std::regex_search(
        fitted.err, best, std::regex("best history: (40:[0-9.]+~[0-9.]+), chi2 ([0-9.]+)")))
        << fitted.err;
    EXPECT_NE(fitted.err.find("end rate 1: "), std::string::npos) << fitted.err;
    EXPECT_EQ(agestest::readFile(file("fit.csv"))
                  .rfind("start_1_ma,rate_1_mm_yr,end_rate_1_mm_yr,chi2,in_range\n", 0),
        0u);
    const agestest::Finished rerun = agestest::runCoolingAges({ "history", "--erosion",
        best[1].str(), "--observed", observed, "--output", file("again.csv") });
    ASSERT_EQ(rerun.status, 0) << rerun.err;
    std::smatch chi2;
    ASSERT_TRUE(std::regex_search(rerun.err, chi2, std::regex("chi2 ([0-9.]+) for the history")))
        << rerun.err;
    // The rates printed to three decimals move chi2 by little against its level of +1.
    EXPECT_NEAR(std::stod(chi2[1].str()), std::stod(best[2].str()), 0.2) << rerun.err;
}

} // namespace
