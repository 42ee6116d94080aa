#pragma once
// Whether Markov chains have converged and how much they hold, for one parameter, after Gelman
// et al. (2013, Bayesian Data Analysis, 3rd ed., ch. 11) as Stan computes them:
//
// Split R-hat. Each of the M chains of N draws is cut into its first and second halves (the
// middle draw of an odd N is dropped), which gives M' = 2M chains of n = N / 2 draws: a chain
// that still drifts then disagrees with itself. With chain means m_j, their mean m, and chain
// variances s_j^2 (divided by n - 1),
//
//     B = n / (M' - 1) sum_j (m_j - m)^2        W = mean_j s_j^2
//     var+ = (n - 1) / n W + B / n               R-hat = sqrt(var+ / W)
//
// Near 1 when the chains sample one distribution; above 1.01 they do not yet agree.
//
// Effective sample size, on the same split chains: with the autocovariance c_j(t) of chain j at
// lag t (divided by n), the autocorrelation of all chains together
//
//     rho(t) = 1 - (W - mean_j c_j(t)) / var+
//
// summed as Geyer (1992, Stat. Sci. 7:473) advises: the sums of neighbouring pairs rho(2k) +
// rho(2k + 1) are taken while positive and made monotonically decreasing, and
//
//     tau = -1 + 2 sum_{t=0}^{2K+1} rho(t)         ESS = M' n / tau
//
// (tau at least 1 / log10(M' n)). Independent draws give ESS near M' n; an AR(1) series of
// coefficient phi gives M' n (1 - phi) / (1 + phi).
//
// The ensemble sampler's walkers are taken as its chains: every walker of every independent
// ensemble one chain (ArviZ reads emcee's walkers the same way).

#include <vector>

namespace ages {

// chains: M >= 1 chains of the same length N >= 4. NaN otherwise, and when every draw is the
// same (W = 0).
double splitRhat(const std::vector<std::vector<double>>& chains);
double effectiveSampleSize(const std::vector<std::vector<double>>& chains);

// The thresholds past which a posterior is flagged: chains that do not agree, and too few
// effective draws for its 16th and 84th percentiles.
inline constexpr double largestGoodRhat = 1.01;
inline constexpr double smallestGoodEffectiveSize = 400;

} // namespace ages
