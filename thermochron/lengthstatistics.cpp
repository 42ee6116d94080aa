#include "lengthstatistics.h"

#include "tracklengths.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace thermochron {

namespace {

// Stephens (1970): the finite-n corrections of the statistics' scale.
constexpr double ksOffset = 0.12, ksInverseRootFactor = 0.11;
constexpr double kuiperOffset = 0.155, kuiperInverseRootFactor = 0.24;
// Below these the tails are taken as 1: Q_KS(0.2) = 1 - 5e-13, and below 0.4 the Kuiper series
// converges too slowly to be of use; Q_KP is taken as 1 there, as is usual.
constexpr double ksCertainBelow = 0.2;
constexpr double kuiperCertainBelow = 0.4;
constexpr int maxTerms = 100;
constexpr double termTolerance = 1e-16;

struct Deviations {
    double above; // D+ = max(i/n - F(l_i))
    double below; // D- = max(F(l_i) - (i-1)/n)
};

Deviations deviations(std::span<const double> lengths, const std::function<double(double)>& cdf)
{
    if (lengths.empty())
        throw std::invalid_argument("no track lengths to compare");
    std::vector<double> sorted(lengths.begin(), lengths.end());
    std::sort(sorted.begin(), sorted.end());
    const double n = static_cast<double>(sorted.size());
    Deviations d { 0, 0 };
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const double f = cdf(sorted[i]);
        d.above = std::max(d.above, (i + 1) / n - f);
        d.below = std::max(d.below, f - i / n);
    }
    return d;
}

} // namespace

double kolmogorovSmirnovTail(double lambda)
{
    if (lambda < ksCertainBelow)
        return 1.0;
    double sum = 0, sign = 1;
    for (int j = 1; j <= maxTerms; ++j, sign = -sign) {
        const double term = sign * std::exp(-2.0 * j * j * lambda * lambda);
        sum += term;
        if (std::abs(term) <= termTolerance * std::abs(sum))
            break;
    }
    return std::clamp(2.0 * sum, 0.0, 1.0);
}

double kuiperTail(double lambda)
{
    if (lambda < kuiperCertainBelow)
        return 1.0;
    double sum = 0;
    for (int j = 1; j <= maxTerms; ++j) {
        const double l2 = j * j * lambda * lambda;
        const double term = (4.0 * l2 - 1.0) * std::exp(-2.0 * l2);
        sum += term;
        if (std::abs(term) <= termTolerance * std::abs(sum))
            break;
    }
    return std::clamp(2.0 * sum, 0.0, 1.0);
}

FitStatistic kolmogorovSmirnov(
    std::span<const double> lengths, const std::function<double(double)>& cdf)
{
    const Deviations d = deviations(lengths, cdf);
    const double statistic = std::max(d.above, d.below);
    const double root = std::sqrt(static_cast<double>(lengths.size()));
    return { statistic,
        kolmogorovSmirnovTail((root + ksOffset + ksInverseRootFactor / root) * statistic) };
}

FitStatistic kuiper(std::span<const double> lengths, const std::function<double(double)>& cdf)
{
    const Deviations d = deviations(lengths, cdf);
    const double statistic = d.above + d.below;
    const double root = std::sqrt(static_cast<double>(lengths.size()));
    return { statistic,
        kuiperTail((root + kuiperOffset + kuiperInverseRootFactor / root) * statistic) };
}

double minusTwoLogLikelihood(
    std::span<const double> lengths, const TrackLengthDistribution& distribution)
{
    double sum = 0;
    for (const double length : lengths) {
        if (!(length >= TrackLengthDistribution::shortestLengthUm
                && length <= TrackLengthDistribution::longestLengthUm))
            throw std::invalid_argument("a measured track length must be from 2.15 to 20 um");
        sum += std::log(distribution.pdf(length));
    }
    return -2.0 * sum;
}

} // namespace thermochron
