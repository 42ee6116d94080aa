#include "ensemblesampler.h"

#include "parallelfor.h"

#include <pcg_random.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace ages {

namespace {

constexpr double minusInfinity = -std::numeric_limits<double>::infinity();

// Sokal's window factor: the sum runs to the first lag M with M >= c tau(M).
constexpr double windowFactor = 5;

// One walker's move within a half step, drawn before any evaluation.
struct Move {
    int walker = 0;
    double stretch = 1; // z
    double logUniform = 0; // ln u for the acceptance test
    std::vector<double> proposal;
    bool inSupport = false;
    double logLikelihood = minusInfinity;
};

// z from g(z) ~ 1/sqrt(z) on [1/a, a] by inverting its distribution: z = ((a - 1) u + 1)^2 / a.
double drawStretch(pcg32& generator, double a)
{
    const double root = (a - 1) * uniformUnit(generator) + 1;
    return root * root / a;
}

double likelihoodOrZero(double logLikelihood)
{
    return std::isnan(logLikelihood) ? minusInfinity : logLikelihood;
}

} // namespace

EnsembleChain::EnsembleChain(int dimension, int walkers, int steps)
    : m_dimension(dimension)
    , m_walkers(walkers)
    , m_steps(steps)
    , m_positions(static_cast<std::size_t>(steps + 1) * walkers * dimension)
    , m_logLikelihoods(static_cast<std::size_t>(steps + 1) * walkers, minusInfinity)
{
}

std::span<const double> EnsembleChain::position(int step, int walker) const
{
    return { m_positions.data() + index(step, walker) * m_dimension,
        static_cast<std::size_t>(m_dimension) };
}

std::span<double> EnsembleChain::position(int step, int walker)
{
    return { m_positions.data() + index(step, walker) * m_dimension,
        static_cast<std::size_t>(m_dimension) };
}

double EnsembleChain::acceptanceFraction() const
{
    return proposals > 0 ? static_cast<double>(acceptances) / static_cast<double>(proposals) : 0;
}

EnsembleChain runEnsemble(const std::vector<std::vector<double>>& start,
    const EnsembleTarget& target, const EnsembleSettings& settings,
    const ProposalObserver& observer, const FitProgress& progress)
{
    const int walkers = static_cast<int>(start.size());
    const int dimension = start.empty() ? 0 : static_cast<int>(start.front().size());
    if (dimension < 1 || walkers % 2 != 0 || walkers < 2 * dimension)
        throw std::invalid_argument("the ensemble needs an even number of walkers, at least 2 x "
                                    "the parameters");
    if (settings.steps < 1 || !(settings.stretch > 1))
        throw std::invalid_argument("the ensemble needs at least one step and a stretch above 1");
    for (const auto& position : start) {
        if (static_cast<int>(position.size()) != dimension || !target.inSupport(position))
            throw std::invalid_argument("every walker must start inside the prior's support");
    }

    EnsembleChain chain(dimension, walkers, settings.steps);
    std::vector<double> startLikelihoods(walkers);
    parallelFor(walkers, settings.threads, [&](std::size_t k) {
        startLikelihoods[k] = likelihoodOrZero(target.logLikelihood(start[k]));
    });
    for (int k = 0; k < walkers; ++k) {
        std::copy(start[k].begin(), start[k].end(), chain.position(0, k).begin());
        chain.logLikelihood(0, k) = startLikelihoods[k];
        if (observer)
            observer(0, k, start[k], startLikelihoods[k]);
    }
    chain.evaluations = walkers;

    pcg32 generator(settings.seed);
    const int half = walkers / 2;
    std::vector<Move> moves(half);
    for (int step = 1; step <= settings.steps; ++step) {
        // The step starts where the last one ended; each half then moves in place.
        for (int k = 0; k < walkers; ++k) {
            const auto from = chain.position(step - 1, k);
            std::copy(from.begin(), from.end(), chain.position(step, k).begin());
            chain.logLikelihood(step, k) = chain.logLikelihood(step - 1, k);
        }
        for (int first : { 0, half }) {
            const int others = half - first; // the first walker of the other half
            std::vector<std::size_t> toEvaluate;
            for (int i = 0; i < half; ++i) {
                Move& move = moves[i];
                move.walker = first + i;
                const int partner = others + static_cast<int>(generator(half));
                move.stretch = drawStretch(generator, settings.stretch);
                move.logUniform = std::log(uniformUnit(generator));
                const auto x = chain.position(step, move.walker);
                const auto xj = chain.position(step, partner);
                move.proposal.resize(dimension);
                for (int p = 0; p < dimension; ++p)
                    move.proposal[p] = xj[p] + move.stretch * (x[p] - xj[p]);
                move.inSupport = target.inSupport(move.proposal);
                move.logLikelihood = minusInfinity;
                if (move.inSupport)
                    toEvaluate.push_back(i);
            }
            parallelFor(toEvaluate.size(), settings.threads, [&](std::size_t e) {
                Move& move = moves[toEvaluate[e]];
                move.logLikelihood = likelihoodOrZero(target.logLikelihood(move.proposal));
            });
            chain.evaluations += toEvaluate.size();
            for (const Move& move : moves) {
                ++chain.proposals;
                if (!move.inSupport)
                    continue;
                if (observer)
                    observer(step, move.walker, move.proposal, move.logLikelihood);
                // ln q = (d - 1) ln z + ln p(Y) - ln p(X_k)
                const double current = chain.logLikelihood(step, move.walker);
                const double logRatio
                    = (dimension - 1) * std::log(move.stretch) + move.logLikelihood - current;
                if (move.logLikelihood > minusInfinity && move.logUniform < logRatio) {
                    std::copy(move.proposal.begin(), move.proposal.end(),
                        chain.position(step, move.walker).begin());
                    chain.logLikelihood(step, move.walker) = move.logLikelihood;
                    ++chain.acceptances;
                }
            }
        }
        if (progress)
            progress(static_cast<double>(step) / settings.steps);
    }
    return chain;
}

double autocorrelationTime(const EnsembleChain& chain, int parameter, int firstStep)
{
    const int n = chain.steps() - firstStep + 1; // the positions of steps firstStep .. steps
    if (firstStep < 0 || n < 2)
        return std::numeric_limits<double>::quiet_NaN();
    // Each walker's series about its own mean, and its variance.
    std::vector<std::vector<double>> series;
    std::vector<double> variances;
    for (int k = 0; k < chain.walkers(); ++k) {
        std::vector<double> values(n);
        for (int t = 0; t < n; ++t)
            values[t] = chain.position(firstStep + t, k)[parameter];
        double mean = 0;
        for (const double v : values)
            mean += v / n;
        double variance = 0;
        for (double& v : values) {
            v -= mean;
            variance += v * v / n;
        }
        if (variance > 0) {
            series.push_back(std::move(values));
            variances.push_back(variance);
        }
    }
    if (series.empty())
        return std::numeric_limits<double>::quiet_NaN();
    // tau(M) = 1 + 2 sum_{m=1..M} rho(m), rho averaged over the walkers.
    double tau = 1;
    for (int lag = 1; lag < n; ++lag) {
        double rho = 0;
        for (std::size_t w = 0; w < series.size(); ++w) {
            double sum = 0;
            for (int t = 0; t + lag < n; ++t)
                sum += series[w][t] * series[w][t + lag];
            rho += sum / n / variances[w];
        }
        tau += 2 * rho / static_cast<double>(series.size());
        if (lag >= windowFactor * tau)
            break;
    }
    return tau;
}

} // namespace ages
