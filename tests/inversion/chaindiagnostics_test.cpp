// Split R-hat and the effective sample size against answers worked by hand: identical and
// shifted chains of a sequence whose halves are alike, a drifting chain, and white noise and an
// AR(1) series of known autocorrelation time.

#include "chaindiagnostics.h"
#include "ensemblesampler.h"

#include <gtest/gtest.h>

#include <pcg_random.hpp>

#include <cmath>
#include <vector>

namespace {

using ages::effectiveSampleSize;
using ages::splitRhat;

// +1, -1, +1, ... of length 2n: each half has mean 0 and variance n / (n - 1).
std::vector<double> alternating(int length, double shift = 0)
{
    std::vector<double> chain;
    for (int t = 0; t < length; ++t)
        chain.push_back((t % 2 == 0 ? 1.0 : -1.0) + shift);
    return chain;
}

// Chains of uniform noise in [-1, 1], each draw x_t = phi x_(t-1) + e_t.
std::vector<std::vector<double>> autoregressive(
    int chains, int length, double phi, std::uint64_t seed)
{
    pcg32 generator(seed);
    std::vector<std::vector<double>> all;
    for (int c = 0; c < chains; ++c) {
        std::vector<double> chain;
        double x = 0;
        for (int t = 0; t < length + 100; ++t) { // 100 draws to forget the start
            x = phi * x + (2 * ages::uniformUnit(generator) - 1);
            if (t >= 100)
                chain.push_back(x);
        }
        all.push_back(chain);
    }
    return all;
}

TEST(SplitRhat, IdenticalChainsOfLikeHalvesGiveTheWithinChainShareAlone)
{
    // B = 0, W = n / (n - 1), var+ = (n - 1) / n W = 1: R-hat = sqrt((n - 1) / n).
    const int n = 50;
    EXPECT_DOUBLE_EQ(splitRhat({ alternating(2 * n), alternating(2 * n) }), std::sqrt(49.0 / 50));
    EXPECT_DOUBLE_EQ(splitRhat({ alternating(2 * n) }), std::sqrt(49.0 / 50));
}

TEST(SplitRhat, ChainsShiftedApartDisagreeByTheirShift)
{
    // Half-chain means 0, 0, 2, 2 about 1: B / n = 4 / 3, var+ = 1 + 4 / 3, W = 50 / 49.
    const double rhat = splitRhat({ alternating(100), alternating(100, 2) });
    EXPECT_NEAR(rhat, std::sqrt((7.0 / 3) / (50.0 / 49)), 1e-12);
    EXPECT_GT(rhat, ages::largestGoodRhat);
}

TEST(SplitRhat, ADriftingChainDisagreesWithItself)
{
    // One chain rising from 0 to 1: its halves' means are 1/4 and 3/4 apart from its spread.
    std::vector<double> ramp;
    for (int t = 0; t < 200; ++t)
        ramp.push_back(t / 199.0);
    EXPECT_GT(splitRhat({ ramp }), 1.5);
}

TEST(SplitRhat, WhiteNoiseChainsAgree)
{
    EXPECT_NEAR(splitRhat(autoregressive(4, 1000, 0, 7)), 1, 0.005);
}

TEST(EffectiveSampleSize, WhiteNoiseIsWorthEveryDraw)
{
    EXPECT_NEAR(effectiveSampleSize(autoregressive(4, 1000, 0, 11)), 4000, 400);
}

TEST(EffectiveSampleSize, AnAutoregressiveSeriesIsWorthItsDrawsOverItsAutocorrelationTime)
{
    // tau = (1 + phi) / (1 - phi): 3 for phi = 0.5, 9 for phi = 0.8.
    EXPECT_NEAR(
        effectiveSampleSize(autoregressive(4, 2000, 0.5, 13)), 8000.0 / 3, 8000.0 / 3 * 0.15);
    EXPECT_NEAR(
        effectiveSampleSize(autoregressive(4, 4000, 0.8, 17)), 16000.0 / 9, 16000.0 / 9 * 0.2);
}

TEST(ChainDiagnostics, TooShortOrConstantChainsHaveNone)
{
    EXPECT_TRUE(std::isnan(splitRhat({ { 1, 2, 3 } })));
    EXPECT_TRUE(std::isnan(effectiveSampleSize({})));
    EXPECT_TRUE(std::isnan(splitRhat({ std::vector<double>(10, 2.0) })));
    EXPECT_TRUE(std::isnan(effectiveSampleSize({ { 1, 2, 3, 4 }, { 1, 2, 3 } })));
}

} // namespace
