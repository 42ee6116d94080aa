// The ensemble sampler on a Gaussian target: mean and variance within a few Monte-Carlo errors,
// its support respected, and the same seed giving the same chain on any number of threads.

#include "ensemblesampler.h"

#include <gtest/gtest.h>

#include <pcg_random.hpp>

#include <atomic>
#include <cmath>

namespace {

// A correlated Gaussian in two dimensions, by its covariance: ln p = -d^T C^-1 d / 2.
constexpr double mean[2] = { 3.0, -1.0 };
constexpr double covariance[2][2] = { { 4.0, 1.5 }, { 1.5, 1.0 } };

double logGaussian(const std::vector<double>& x)
{
    const double det = covariance[0][0] * covariance[1][1] - covariance[0][1] * covariance[1][0];
    const double d0 = x[0] - mean[0];
    const double d1 = x[1] - mean[1];
    return -0.5
        * (covariance[1][1] * d0 * d0 - 2 * covariance[0][1] * d0 * d1 + covariance[0][0] * d1 * d1)
        / det;
}

std::vector<std::vector<double>> spreadStart(int walkers)
{
    pcg32 generator(7);
    std::vector<std::vector<double>> start;
    for (int k = 0; k < walkers; ++k)
        start.push_back(
            { 1 + 4 * ages::uniformUnit(generator), 4 * ages::uniformUnit(generator) - 3 });
    return start;
}

TEST(EnsembleSampler, GaussianMeanAndVarianceWithinTheirMonteCarloErrors)
{
    const ages::EnsembleTarget target { [](const std::vector<double>&) { return true; },
        logGaussian };
    ages::EnsembleSettings settings;
    settings.steps = 4000;
    const int burnIn = 500;
    const auto chain = ages::runEnsemble(spreadStart(16), target, settings);
    EXPECT_GT(chain.acceptanceFraction(), 0.3);
    EXPECT_LT(chain.acceptanceFraction(), 0.9);
    for (int p = 0; p < 2; ++p) {
        double sum = 0, sumSquares = 0;
        int n = 0;
        for (int step = burnIn + 1; step <= chain.steps(); ++step) {
            for (int k = 0; k < chain.walkers(); ++k) {
                const double x = chain.position(step, k)[p];
                sum += x;
                sumSquares += x * x;
                ++n;
            }
        }
        const double sampleMean = sum / n;
        const double sampleVariance = sumSquares / n - sampleMean * sampleMean;
        // n samples of which n / tau are independent; a chain some 50 tau long or more makes the
        // estimate of tau, and so the errors below, trustworthy.
        const double tau = ages::autocorrelationTime(chain, p, burnIn + 1);
        ASSERT_GT(tau, 1);
        ASSERT_LT(tau, (settings.steps - burnIn) / 50.0);
        const double independent = n / tau;
        const double variance = covariance[p][p];
        EXPECT_NEAR(sampleMean, mean[p], 4 * std::sqrt(variance / independent));
        EXPECT_NEAR(sampleVariance, variance, 4 * variance * std::sqrt(2 / independent));
    }
}

TEST(EnsembleSampler, StaysInItsSupportAndRepeatsItsChainOnAnyThreadCount)
{
    // A half-plane x0 > x1 (the ordering of change times) cut through the Gaussian.
    std::atomic<int> evaluatedOutside = 0;
    const ages::EnsembleTarget target { [](const std::vector<double>& x) { return x[0] > x[1]; },
        [&](const std::vector<double>& x) {
            if (!(x[0] > x[1]))
                ++evaluatedOutside;
            return logGaussian(x);
        } };
    std::vector<ages::EnsembleChain> chains;
    for (unsigned threads : { 1u, 2u }) {
        ages::EnsembleSettings settings;
        settings.steps = 300;
        settings.threads = threads;
        settings.seed = 99;
        chains.push_back(ages::runEnsemble(spreadStart(8), target, settings));
    }
    EXPECT_EQ(evaluatedOutside, 0);
    EXPECT_EQ(chains[0].acceptances, chains[1].acceptances);
    for (int step = 0; step <= 300; ++step) {
        for (int k = 0; k < 8; ++k) {
            const auto a = chains[0].position(step, k);
            const auto b = chains[1].position(step, k);
            ASSERT_TRUE(a[0] > a[1]);
            ASSERT_EQ(a[0], b[0]);
            ASSERT_EQ(a[1], b[1]);
        }
    }
}

} // namespace
