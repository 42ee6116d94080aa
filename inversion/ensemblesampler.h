#pragma once
// The affine-invariant ensemble sampler of Goodman & Weare (2010, Commun. Appl. Math. Comput.
// Sci. 5:65) with its stretch move, for a target known up to a constant:
//
//     p(x) ~ exp(logLikelihood(x)) inside the prior's support, 0 outside.
//
// K walkers (K even) move together. Each step updates the first half of the ensemble, then the
// second: walker k draws a partner j from the other half and a stretch z from g(z) ~ 1/sqrt(z)
// on [1/a, a], proposes Y = X_j + z (X_k - X_j) and takes it with probability
// min(1, z^(d-1) p(Y) / p(X_k)) (d the dimension). Walkers of one half depend only on the other
// half, so a half's likelihoods are evaluated in parallel. All random numbers of a half are
// drawn before its evaluations, in walker order, from one pcg32 seeded by the caller, and no
// standard-library distribution is used (their algorithms differ between libraries): a seed gives
// the same chain on every machine and with any number of threads.
//
// Use:
//   EnsembleChain chain = runEnsemble(start, target, settings, observer, progress);
//   chain.position(step, walker), chain.acceptanceFraction(), autocorrelationTime(chain, p, b)

#include "ratefit.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace ages {

struct EnsembleSettings {
    int steps = 1000; // ensemble iterations: every one moves every walker
    std::uint64_t seed = 1;
    unsigned threads = 1;
    double stretch = 2; // a of the stretch move; 2 as Goodman & Weare advise
};

struct EnsembleTarget {
    // The prior's support (cheap: checked before any likelihood is evaluated).
    std::function<bool(const std::vector<double>& x)> inSupport;
    // ln of the likelihood, up to a constant: costly, called from several threads at once. NaN
    // counts as a likelihood of zero.
    std::function<double(const std::vector<double>& x)> logLikelihood;
};

// Every likelihood evaluated, in a fixed order (step, then walker), from the calling thread:
// step 0 is the start, later steps the proposals (accepted or not).
using ProposalObserver = std::function<void(
    int step, int walker, const std::vector<double>& position, double logLikelihood)>;

class EnsembleChain {
public:
    EnsembleChain(int dimension, int walkers, int steps);

    int dimension() const { return m_dimension; }
    int walkers() const { return m_walkers; }
    int steps() const { return m_steps; }

    // The walker's position after step (0: the start, up to steps()).
    std::span<const double> position(int step, int walker) const;
    std::span<double> position(int step, int walker);
    double logLikelihood(int step, int walker) const
    {
        return m_logLikelihoods[index(step, walker)];
    }
    double& logLikelihood(int step, int walker) { return m_logLikelihoods[index(step, walker)]; }

    std::size_t proposals = 0; // moves proposed (steps x walkers)
    std::size_t acceptances = 0;
    std::size_t evaluations = 0; // likelihoods evaluated: proposals outside the support cost none
    double acceptanceFraction() const;

private:
    std::size_t index(int step, int walker) const
    {
        return static_cast<std::size_t>(step) * m_walkers + walker;
    }

    int m_dimension;
    int m_walkers;
    int m_steps;
    std::vector<double> m_positions; // (steps + 1) x walkers x dimension
    std::vector<double> m_logLikelihoods; // (steps + 1) x walkers
};

// start: one position per walker, each in the support, an even number of walkers of at least
// 2 x dimension (fewer cannot span the space). Throws std::invalid_argument otherwise; an
// exception from the likelihood ends the run and is passed on.
EnsembleChain runEnsemble(const std::vector<std::vector<double>>& start,
    const EnsembleTarget& target, const EnsembleSettings& settings,
    const ProposalObserver& observer = {}, const FitProgress& progress = {});

// The integrated autocorrelation time (in steps) of one parameter over the positions of steps
// firstStep .. steps, from the autocorrelation averaged over the walkers, summed up to the
// smallest window M >= 5 tau(M) (Sokal's automatic window, as Goodman & Weare 2010 estimate it). A
// chain shorter than about 50 tau gives an estimate that is itself uncertain. NaN when no walker
// moved.
double autocorrelationTime(const EnsembleChain& chain, int parameter, int firstStep);

// A uniform double in [0, 1) from 53 bits of two draws, the same on every machine.
template <class Generator> double uniformUnit(Generator& generator)
{
    const double high = static_cast<double>(generator() >> 5); // 27 bits
    const double low = static_cast<double>(generator() >> 6); // 26 bits
    return (high * 67108864.0 + low) / 9007199254740992.0; // (high 2^26 + low) / 2^53
}

} // namespace ages
