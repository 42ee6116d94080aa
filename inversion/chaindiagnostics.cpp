#include "chaindiagnostics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace ages {

namespace {

constexpr double noNumber = std::numeric_limits<double>::quiet_NaN();

// The chains cut in halves; empty when they cannot be.
std::vector<std::vector<double>> halves(const std::vector<std::vector<double>>& chains)
{
    if (chains.empty())
        return {};
    const std::size_t length = chains.front().size();
    if (length < 4)
        return {};
    const std::size_t half = length / 2;
    std::vector<std::vector<double>> split;
    for (const auto& chain : chains) {
        if (chain.size() != length)
            return {};
        split.emplace_back(chain.begin(), chain.begin() + half);
        split.emplace_back(chain.end() - half, chain.end()); // the middle of an odd chain left out
    }
    return split;
}

struct ChainMoments {
    std::vector<double> means;
    double withinVariance = 0; // W
    double variancePlus = 0; // var+
};

ChainMoments moments(const std::vector<std::vector<double>>& chains)
{
    ChainMoments result;
    const double n = static_cast<double>(chains.front().size());
    for (const auto& chain : chains) {
        double mean = 0;
        for (const double x : chain)
            mean += x;
        mean /= n;
        double squares = 0;
        for (const double x : chain)
            squares += (x - mean) * (x - mean);
        result.means.push_back(mean);
        result.withinVariance += squares / (n - 1);
    }
    const double count = static_cast<double>(chains.size());
    result.withinVariance /= count;
    double grand = 0;
    for (const double mean : result.means)
        grand += mean / count;
    double between = 0; // B / n
    for (const double mean : result.means)
        between += (mean - grand) * (mean - grand);
    between = chains.size() > 1 ? between / (count - 1) : 0;
    result.variancePlus = (n - 1) / n * result.withinVariance + between;
    return result;
}

// The split chains and their moments; nothing when they are too short, of unequal lengths or
// constant.
struct SplitChains {
    std::vector<std::vector<double>> chains;
    ChainMoments moments;
};

std::optional<SplitChains> splitChains(const std::vector<std::vector<double>>& chains)
{
    SplitChains result { halves(chains), {} };
    if (result.chains.empty())
        return std::nullopt;
    result.moments = moments(result.chains);
    if (!(result.moments.withinVariance > 0))
        return std::nullopt;
    return result;
}

} // namespace

double splitRhat(const std::vector<std::vector<double>>& chains)
{
    const auto split = splitChains(chains);
    if (!split)
        return noNumber;
    return std::sqrt(split->moments.variancePlus / split->moments.withinVariance);
}

double effectiveSampleSize(const std::vector<std::vector<double>>& chains)
{
    const auto prepared = splitChains(chains);
    if (!prepared)
        return noNumber;
    const std::vector<std::vector<double>>& split = prepared->chains;
    const ChainMoments& m = prepared->moments;
    const std::size_t n = split.front().size();
    const double draws = static_cast<double>(n * split.size());
    // mean_j c_j(t), each chain about its own mean.
    const auto meanAutocovariance = [&](std::size_t lag) {
        double sum = 0;
        for (std::size_t j = 0; j < split.size(); ++j) {
            const auto& chain = split[j];
            double c = 0;
            for (std::size_t t = 0; t + lag < n; ++t)
                c += (chain[t] - m.means[j]) * (chain[t + lag] - m.means[j]);
            sum += c / static_cast<double>(n);
        }
        return sum / static_cast<double>(split.size());
    };
    // W as Stan takes it: the chains' variances from their autocovariance at lag 0.
    const double meanVariance
        = meanAutocovariance(0) * static_cast<double>(n) / static_cast<double>(n - 1);
    const auto rho = [&](std::size_t lag) {
        return 1 - (meanVariance - meanAutocovariance(lag)) / m.variancePlus;
    };
    // Sums of neighbouring pairs while positive (Geyer's initial positive sequence), made
    // monotone (his initial monotone sequence).
    std::vector<double> pairs;
    for (std::size_t lag = 0; lag + 1 < n; lag += 2) {
        const double pair = (lag == 0 ? 1.0 : rho(lag)) + rho(lag + 1); // rho(0) = 1
        if (!(pair > 0))
            break;
        pairs.push_back(pairs.empty() ? pair : std::min(pair, pairs.back()));
    }
    double tau = -1;
    for (const double pair : pairs)
        tau += 2 * pair;
    tau = std::max(tau, 1 / std::log10(draws));
    return draws / tau;
}

} // namespace ages
