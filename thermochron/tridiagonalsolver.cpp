#include "tridiagonalsolver.h"

namespace thermochron {

void TridiagonalSolver::factor(
    std::span<const double> lower, std::span<const double> diagonal, std::span<const double> upper)
{
    const std::size_t n = diagonal.size();
    m_lower.assign(lower.begin(), lower.end());
    m_pivot.resize(n);
    m_eliminatedUpper.resize(n);
    // Forward elimination: row i loses its sub-diagonal entry against the eliminated row i-1.
    for (std::size_t i = 0; i < n; ++i) {
        const double eliminated = diagonal[i] - (i > 0 ? lower[i] * m_eliminatedUpper[i - 1] : 0.0);
        m_pivot[i] = 1.0 / eliminated;
        m_eliminatedUpper[i] = upper[i] * m_pivot[i];
    }
}

void TridiagonalSolver::solve(std::span<double> b) const
{
    const std::size_t n = m_pivot.size();
    b[0] *= m_pivot[0];
    for (std::size_t i = 1; i < n; ++i)
        b[i] = (b[i] - m_lower[i] * b[i - 1]) * m_pivot[i];
    for (std::size_t i = n - 1; i-- > 0;)
        b[i] -= m_eliminatedUpper[i] * b[i + 1];
}

} // namespace thermochron
