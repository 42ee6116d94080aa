// The history fits against misfits whose answers are known: a quadratic bowl in (r1, t, r2) with
// its exact profile, a ridge the ages cannot pin, one phase through the rate sweep, three phases
// through the sampler; bounds, ordering and determinism; the tables and the summary.

#include "historyfiles.h"
#include "historyfit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <sstream>

namespace {

using ages::ErosionHistory;
using ages::HistoryFit;
using ages::HistorySpace;

// chi2 = floor + d^T A d with d = x - centre, x = (r1, t, r2). Minimised over the two rates at a
// fixed t it is floor + (t - t0)^2 / C_tt, C = A^-1: the profile is exact.
struct Bowl {
    std::array<double, 3> centre; // r1 (mm/yr), t (Ma), r2 (mm/yr)
    std::array<std::array<double, 3>, 3> a; // symmetric, positive definite
    double floor;

    double operator()(const ErosionHistory& history) const
    {
        const std::array<double, 3> x { history[0].rateMmYr, history[1].startMa,
            history[1].rateMmYr };
        double chi2 = floor;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                chi2 += (x[i] - centre[i]) * a[i][j] * (x[j] - centre[j]);
        }
        return chi2;
    }

    // (A^-1)_tt by cofactors: the change time's variance.
    double changeTimeVariance() const
    {
        const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1])
            - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0])
            + a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
        return (a[0][0] * a[2][2] - a[0][2] * a[2][0]) / det;
    }
};

HistorySpace twoPhases(std::size_t samples)
{
    return { 2, 20, { 0.05, 2.0 }, { 1.0, 19.0 }, samples };
}

TEST(HistoryGrid, FindsTheBowlsMinimumAndReadsItsExactProfileRange)
{
    // Rates correlated with the change time, as the ages make them: a_ij = rho_ij / (s_i s_j)
    // with scales s of 0.02 mm/yr, 1.5 Ma and 0.03 mm/yr. A good fit keeps the level at
    // chi2_min + 1; a poor one (reduced chi2 4) widens the range by sqrt(4).
    const double s[3] = { 0.02, 1.5, 0.03 };
    const double rho[3][3] = { { 1, 0.5, 0.2 }, { 0.5, 1, -0.3 }, { 0.2, -0.3, 1 } };
    std::array<std::array<double, 3>, 3> a {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            a[i][j] = rho[i][j] / (s[i] * s[j]);
    }
    struct Case {
        double floor;
        std::size_t samples;
        double widening;
        bool scaled;
    };
    for (const Case c : { Case { 2, 10, 1, false }, Case { 28, 10, 2, true } }) {
        const Bowl bowl { { 0.31, 7.3, 0.62 }, a, c.floor };
        const HistoryFit fit = ages::fitHistory(twoPhases(c.samples), bowl);
        EXPECT_NEAR(fit.best[0], 0.31, 1e-3);
        EXPECT_NEAR(fit.best[1], 7.3, 0.02);
        EXPECT_NEAR(fit.best[2], 0.62, 1e-3);
        EXPECT_NEAR(fit.level.chi2Min, c.floor, 1e-3);
        EXPECT_EQ(fit.level.scaled, c.scaled);
        // A few thousand evaluations at most: the budget of a fit of real ages.
        EXPECT_LT(fit.evaluations(), 2500u);
        ASSERT_EQ(fit.profiles.size(), 1u);
        const auto& profile = fit.profiles[0];
        const double halfWidth = c.widening * std::sqrt(bowl.changeTimeVariance());
        EXPECT_NEAR(profile.rangeLowMa, 7.3 - halfWidth, 0.01);
        EXPECT_NEAR(profile.rangeHighMa, 7.3 + halfWidth, 0.01);
        EXPECT_FALSE(profile.rangeReachesLowBound || profile.rangeReachesHighBound);
        for (std::size_t i = 0; i < profile.changeTimesMa.size(); i += 3) {
            const double t = profile.changeTimesMa[i];
            EXPECT_NEAR(
                profile.chi2[i], c.floor + (t - 7.3) * (t - 7.3) / bowl.changeTimeVariance(), 1e-2);
        }
    }
}

TEST(HistoryGrid, AChangeTimeTheAgesCannotPinGivesAFlatProfileAndARangeAtBothBounds)
{
    const auto ridge = [](const ErosionHistory& h) {
        return 3 + std::pow((h[0].rateMmYr - 0.2) / 0.01, 2)
            + std::pow((h[1].rateMmYr - 0.9) / 0.05, 2);
    };
    const HistoryFit fit = ages::fitHistory(twoPhases(6), ridge);
    const auto& profile = fit.profiles.at(0);
    for (const double chi2 : profile.chi2)
        EXPECT_NEAR(chi2, 3, 1e-3);
    EXPECT_TRUE(profile.rangeReachesLowBound && profile.rangeReachesHighBound);
    EXPECT_DOUBLE_EQ(profile.rangeLowMa, 1.0);
    EXPECT_DOUBLE_EQ(profile.rangeHighMa, 19.0);
    const auto warnings = ages::historyWarnings(fit);
    ASSERT_EQ(warnings.size(), 2u);
    for (const auto& warning : warnings)
        EXPECT_EQ(warning.kind, "change_time_range");
    EXPECT_NE(warnings[0].text.find("reaches 19 Ma, the oldest"), std::string::npos);
    EXPECT_NE(warnings[1].text.find("reaches 1 Ma, the youngest"), std::string::npos);
}

TEST(HistoryFit, OnePhaseIsTheRateSweep)
{
    const auto bowl
        = [](const ErosionHistory& h) { return 4 + std::pow((h[0].rateMmYr - 0.437) / 0.02, 2); };
    const HistorySpace space { 1, 20, { 0.05, 2.0 }, {}, 5 };
    const HistoryFit fit = ages::fitHistory(space, bowl);
    ASSERT_TRUE(fit.rateFit.has_value());
    EXPECT_EQ(fit.evaluations(), 100u);
    EXPECT_NEAR(fit.best[0], 0.437, 1e-3);
    EXPECT_NEAR(fit.level.reducedChi2, 1, 1e-2); // 4 / (5 - 1)
    EXPECT_TRUE(fit.profiles.empty());
}

// Every engine, on a bowl near the ordering's edge for three phases: each history run lies in
// the bounds with its change times in order, and one thread gives what two give.
TEST(HistoryFit, EveryHistoryRunIsInsideAndTheResultDoesNotDependOnTheThreads)
{
    const auto nearEdge = [](const ErosionHistory& h) {
        double chi2 = 0;
        for (const auto& phase : h)
            chi2 += std::pow((phase.rateMmYr - 0.5) / 0.2, 2);
        for (std::size_t k = 1; k < h.size(); ++k)
            chi2 += std::pow((h[k].startMa - 6) / 3, 2); // both change times want 6 Ma
        return chi2;
    };
    struct Case {
        int phases;
        ages::HistorySampler sampler;
    };
    for (const Case c :
        { Case { 2, ages::HistorySampler::grid }, Case { 2, ages::HistorySampler::mcmc },
            Case { 3, ages::HistorySampler::automatic } }) {
        HistorySpace space = twoPhases(12);
        space.phaseCount = c.phases;
        ages::HistoryFitSettings settings;
        settings.sampler = c.sampler;
        settings.mcmc.steps = 200;
        std::array<HistoryFit, 2> fits;
        for (unsigned threads : { 1u, 2u }) {
            settings.threads = threads;
            fits[threads - 1] = ages::fitHistory(space, nearEdge, settings);
        }
        ASSERT_EQ(fits[0].tried.size(), fits[1].tried.size());
        for (std::size_t i = 0; i < fits[0].tried.size(); ++i) {
            ASSERT_EQ(fits[0].tried[i].parameters, fits[1].tried[i].parameters);
            ASSERT_TRUE(ages::isInside(space, fits[0].tried[i].parameters));
        }
        EXPECT_EQ(fits[0].best, fits[1].best);
    }
}

// A model that cannot run fast last phases (NaN): every engine keeps to the histories it can run,
// finds the minimum among them, and reports its progress rising to 1.
TEST(HistoryFit, HistoriesTheModelCannotRunAreAvoidedAndProgressEndsAtOne)
{
    const auto partlyUnusable = [](const ErosionHistory& h) {
        if (h.back().rateMmYr > 1.2)
            return std::nan("");
        return 5 + std::pow((h[0].rateMmYr - 0.3) / 0.02, 2) + std::pow((h[1].startMa - 9) / 2, 2)
            + std::pow((h[1].rateMmYr - 0.8) / 0.03, 2);
    };
    for (const auto sampler : { ages::HistorySampler::grid, ages::HistorySampler::mcmc }) {
        ages::HistoryFitSettings settings;
        settings.sampler = sampler;
        settings.mcmc.steps = 400;
        std::vector<double> fractions;
        const HistoryFit fit = ages::fitHistory(
            twoPhases(10), partlyUnusable, settings, [&](double f) { fractions.push_back(f); });
        EXPECT_NEAR(fit.best[2], 0.8, 0.03);
        EXPECT_NEAR(fit.level.chi2Min, 5, 1);
        ASSERT_FALSE(fractions.empty());
        EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
        EXPECT_DOUBLE_EQ(fractions.back(), 1);
    }
}

TEST(HistoryFiles, ThePosteriorHoldsEveryWalkerAfterTheBurnIn)
{
    const auto bowl = [](const ErosionHistory& h) {
        return std::pow((h[0].rateMmYr - 0.3) / 0.05, 2) + std::pow((h[1].startMa - 9) / 2, 2)
            + std::pow((h[1].rateMmYr - 0.8) / 0.05, 2);
    };
    ages::SamplerSettings settings;
    settings.walkers = 8;
    settings.steps = 30;
    settings.burnIn = 20;
    const HistoryFit fit = ages::sampleHistories(twoPhases(10), bowl, settings);
    std::ostringstream table;
    ages::writeHistoryPosteriorTable(table, fit);
    std::istringstream lines(table.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "walker,step,start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,chi2");
    int rows = 0;
    while (std::getline(lines, line)) {
        const int walker = std::stoi(line);
        const int step = std::stoi(line.substr(line.find(',') + 1));
        EXPECT_TRUE(walker >= 1 && walker <= 8 && step > 20 && step <= 30) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 8 * 10);
}

TEST(HistoryFit, RefusesWhatCannotRunAndWarnsOfTooManyParameters)
{
    struct Case {
        HistorySpace space;
        ages::HistorySampler sampler;
        int walkers;
        const char* message;
    };
    const Case cases[] = {
        { { 4, 20, { 0.1, 1 }, { 1, 19 }, 9 }, ages::HistorySampler::automatic, 0, "--fit-phases" },
        { { 2, 20, { 0, 1 }, { 1, 19 }, 9 }, ages::HistorySampler::automatic, 0, "--rates" },
        { { 2, 20, { 0.1, 1 }, { 1, 20 }, 9 }, ages::HistorySampler::automatic, 0,
            "--change-times" },
        { { 3, 20, { 0.1, 1 }, { 1, 19 }, 9 }, ages::HistorySampler::grid, 0, "--sampler mcmc" },
        { { 3, 20, { 0.1, 1 }, { 1, 19 }, 9 }, ages::HistorySampler::mcmc, 9, "--walkers" },
    };
    for (const Case& c : cases) {
        ages::HistoryFitSettings settings;
        settings.sampler = c.sampler;
        settings.mcmc.walkers = c.walkers;
        EXPECT_NE(ages::historyFitError(c.space, settings).find(c.message), std::string::npos)
            << c.message;
    }
    EXPECT_EQ(ages::parameterCountWarning({ 2, 20, { 0.1, 1 }, { 1, 19 }, 4 }), "");
    EXPECT_NE(
        ages::parameterCountWarning({ 3, 20, { 0.1, 1 }, { 1, 19 }, 5 }).find("5 parameters for 5"),
        std::string::npos);
}

TEST(HistoryFiles, TablesAndSummaryHaveTheirFixedForm)
{
    HistoryFit fit;
    fit.space = twoPhases(8);
    fit.best = { 0.3, 5.5, 0.57 };
    fit.level = ages::misfitLevel(3.21, fit.space); // reduced 0.642: level chi2_min + 1
    fit.tried = { { { 0.3, 5.5, 0.57 }, 3.21 }, { { 0.5, 10, 0.2 }, 4.3 } };
    ages::ChangeTimeProfile profile;
    profile.changeTimesMa = { 1, 5.5, 19 };
    profile.chi2 = { 8.2725, 3.21, 48.7725 }; // 3.21 + (t - 5.5)^2 / 4
    ages::readRange(profile, fit.level.level, fit.space.changeTimesMa);
    fit.profiles.push_back(profile);

    std::ostringstream table;
    ages::writeHistoryFitTable(table, fit);
    EXPECT_EQ(table.str(),
        "start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,chi2,in_range\n"
        "20,0.3,5.5,0.57,3.21,yes\n20,0.5,10,0.2,4.3,no\n");
    std::ostringstream profileTable;
    ages::writeHistoryProfileTable(profileTable, fit);
    EXPECT_EQ(profileTable.str(),
        "change,change_time_ma,chi2,chi2_level\n1,1,8.2725,4.21\n1,5.5,3.21,4.21\n1,19,48.7725,4."
        "21\n");
    // The parabola through the three points: 5.5 -+ 2.
    EXPECT_EQ(ages::historySummary(fit),
        "best history: 20:0.300,5.50:0.570, chi2 3.21, reduced chi2 0.64\n"
        "change time 1: 5.50 Ma, range 3.5 to 7.5 Ma\n");

    fit.level = ages::misfitLevel(3.21 * 5, fit.space);
    EXPECT_NE(ages::historySummary(fit).find("Ma (scaled by reduced chi2)\n"), std::string::npos);
}

} // namespace

namespace {

// Independent normal rates about 0.3 and 0.8 mm/yr and a change at 9 Ma: one clear mode.
double roundBowl(const ErosionHistory& h)
{
    return std::pow((h[0].rateMmYr - 0.3) / 0.05, 2) + std::pow((h[1].startMa - 9) / 2, 2)
        + std::pow((h[1].rateMmYr - 0.8) / 0.05, 2);
}

TEST(HistoryChains, ChainsAreIndependentEnsemblesMergedAlikeOnAnyThreadsOrOneByOne)
{
    ages::SamplerSettings settings;
    settings.walkers = 8;
    settings.steps = 40;
    settings.chains = 3;
    settings.threads = 1;
    const HistorySpace space = twoPhases(10);
    const HistoryFit serial = ages::sampleHistories(space, roundBowl, settings);
    settings.threads = 4;
    const HistoryFit parallel = ages::sampleHistories(space, roundBowl, settings);
    std::vector<ages::SampledChain> chains;
    for (int k = 0; k < 3; ++k)
        chains.push_back(ages::sampleChain(space, roundBowl, settings, k));
    const HistoryFit merged = ages::mergeChains(space, settings, std::move(chains));

    ASSERT_TRUE(serial.posterior);
    const ages::EnsembleChain& chain = serial.posterior->chain;
    EXPECT_EQ(chain.walkers(), 24);
    EXPECT_EQ(serial.posterior->chains, 3);
    for (const HistoryFit* other : { &parallel, &merged }) {
        const ages::EnsembleChain& same = other->posterior->chain;
        for (int step = 0; step <= 40; ++step)
            for (int k = 0; k < 24; ++k)
                for (int p = 0; p < 3; ++p)
                    ASSERT_EQ(same.position(step, k)[p], chain.position(step, k)[p]);
        EXPECT_EQ(other->best, serial.best);
        EXPECT_EQ(other->posterior->splitRhat, serial.posterior->splitRhat);
        EXPECT_EQ(other->posterior->effectiveSize, serial.posterior->effectiveSize);
    }
    // Chain 0 is the run of one ensemble with the seed itself; the others start elsewhere.
    settings.chains = 1;
    const HistoryFit one = ages::sampleHistories(space, roundBowl, settings);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(one.posterior->chain.position(40, k)[1], chain.position(40, k)[1]);
    EXPECT_NE(chain.position(0, 8)[1], chain.position(0, 0)[1]);
    EXPECT_EQ(ages::chainSeed(20100101, 0), 20100101u);
    EXPECT_NE(ages::chainSeed(20100101, 1), ages::chainSeed(20100101, 2));
}

TEST(HistoryChains, ShortChainsAreWarnedOfByTheirEffectiveSizeAndEveryParameterHasItsDiagnostics)
{
    ages::SamplerSettings settings;
    settings.steps = 60;
    settings.chains = 2;
    const HistoryFit fit = ages::sampleHistories(twoPhases(10), roundBowl, settings);
    ASSERT_EQ(fit.posterior->splitRhat.size(), 3u);
    ASSERT_EQ(fit.posterior->effectiveSize.size(), 3u);
    const auto warnings = ages::historyWarnings(fit);
    EXPECT_TRUE(std::any_of(warnings.begin(), warnings.end(), [](const auto& warning) {
        return warning.kind == "few_effective_samples"
            && warning.text.find("fewer than 400") != std::string::npos;
    }));
    const std::string summary = ages::historySummary(fit);
    EXPECT_NE(summary.find("sampler: 2 chains of 12 walkers x 60 steps"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find(", split R-hat "), std::string::npos) << summary;
}

} // namespace
