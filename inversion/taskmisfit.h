#pragma once
// What the grid engines (twophasegrid, shapedphasegrid) share: a history tried with its misfit,
// and the misfit of one sequential task (a row of a grid, a profile, a refinement), which keeps
// every history it tried, in order, and counts each in the fit's progress. Tasks run on many
// threads, each with its own, and their histories are joined in order afterwards, so that a fit
// lists the same histories however many threads ran it.

#include "historyparameters.h"
#include "progresscounter.h"

#include <cmath>
#include <limits>
#include <vector>

namespace ages {

// What Brent's method sees for a history the model cannot run: worse than any real misfit, and
// still finite so that its parabolic steps stay numbers.
inline constexpr double unusableChi2 = 1e100;

struct Trial {
    std::vector<double> parameters;
    double chi2 = std::numeric_limits<double>::quiet_NaN();

    bool betterThan(const Trial& other) const
    {
        return !std::isnan(chi2) && (std::isnan(other.chi2) || chi2 < other.chi2);
    }
};

class TaskMisfit {
public:
    TaskMisfit(const HistorySpace& space, const HistoryMisfit& misfit, ProgressCounter& progress)
        : m_space(space)
        , m_misfit(misfit)
        , m_progress(progress)
    {
    }

    // The misfit of every parameter of the space (NaN where the model cannot run the history).
    double operator()(const std::vector<double>& parameters)
    {
        const double chi2 = misfitOf(m_space, m_misfit, parameters);
        tried.push_back({ parameters, chi2 });
        m_progress.advance(1);
        return chi2;
    }

    const HistorySpace& space() const { return m_space; }

    std::vector<TriedHistory> tried;

private:
    const HistorySpace& m_space;
    const HistoryMisfit& m_misfit;
    ProgressCounter& m_progress;
};

} // namespace ages
