#pragma once
// How well measured track lengths fit a predicted length distribution: the Kolmogorov-Smirnov
// and Kuiper statistics of the lengths against the model's distribution function, each with its
// p-value (Stephens 1970, J. R. Stat. Soc. B 32:115), and -2 ln L of the lengths under the
// model's density.
//
//     D = max_i max(i/n - F(l_i), F(l_i) - (i-1)/n),   V = D+ + D-  (lengths sorted),
//     p_KS = Q_KS((sqrt(n) + 0.12 + 0.11 / sqrt(n)) D),
//     Q_KS(L) = 2 sum_{j>=1} (-1)^(j-1) exp(-2 j^2 L^2),
//     p_Kuiper = Q_KP((sqrt(n) + 0.155 + 0.24 / sqrt(n)) V),
//     Q_KP(L) = 2 sum_{j>=1} (4 j^2 L^2 - 1) exp(-2 j^2 L^2), 1 for L < 0.4.

#include <functional>
#include <span>

namespace thermochron {

class TrackLengthDistribution;

// The statistic and the chance of one at least as large if the lengths came from the model.
struct FitStatistic {
    double statistic;
    double pValue;
};

// Q_KS(L) and Q_KP(L): the asymptotic tail probabilities of the two statistics.
double kolmogorovSmirnovTail(double lambda);
double kuiperTail(double lambda);

// Against a distribution function F (increasing from 0 to 1). Throws std::invalid_argument for
// no lengths.
FitStatistic kolmogorovSmirnov(
    std::span<const double> lengthsUm, const std::function<double(double)>& cdf);
FitStatistic kuiper(std::span<const double> lengthsUm, const std::function<double(double)>& cdf);

// -2 sum_i ln f(l_i) under the model's exact density. Throws std::invalid_argument for a length
// outside [2.15, 20] um, which the model cannot produce (a track shorter than 2.15 um is not
// measured).
double minusTwoLogLikelihood(
    std::span<const double> lengthsUm, const TrackLengthDistribution& distribution);

} // namespace thermochron
