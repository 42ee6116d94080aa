#include "tridiagonalsystem.h"

namespace numerics {

void TridiagonalSystem::factor(
    std::span<const double> lower, std::span<const double> diagonal, std::span<const double> upper)
{
    const std::size_t n = diagonal.size();
    const std::size_t m = n / 2;
    m_middle = m;
    m_pivot.resize(n);
    m_lowerRatio.resize(n);
    m_upperRatio.resize(n);
    // Downwards to row m - 1: the eliminated diagonal is d_i - l_i (u_{i-1} / its own).
    for (std::size_t i = 0; i < m; ++i) {
        const double eliminated = diagonal[i] - (i > 0 ? lower[i] * m_upperRatio[i - 1] : 0.0);
        m_pivot[i] = 1.0 / eliminated;
        m_upperRatio[i] = upper[i] * m_pivot[i];
        m_lowerRatio[i] = lower[i] * m_pivot[i];
    }
    // Upwards to row m + 1.
    for (std::size_t i = n - 1; i > m; --i) {
        const double eliminated = diagonal[i] - (i + 1 < n ? upper[i] * m_lowerRatio[i + 1] : 0.0);
        m_pivot[i] = 1.0 / eliminated;
        m_lowerRatio[i] = lower[i] * m_pivot[i];
        m_upperRatio[i] = upper[i] * m_pivot[i];
    }
    // The middle row, with x_{m-1} and x_{m+1} expressed through x_m.
    m_middleLower = lower[m];
    m_middleUpper = upper[m];
    m_middlePivot
        = 1.0 / (diagonal[m] - lower[m] * m_upperRatio[m - 1] - upper[m] * m_lowerRatio[m + 1]);
}

void TridiagonalSystem::solve(std::span<double> b) const
{
    const std::size_t n = b.size();
    const std::size_t m = m_middle;
    const double* pivot = m_pivot.data();
    const double* lowerRatio = m_lowerRatio.data();
    const double* upperRatio = m_upperRatio.data();
    double* x = b.data();

    // Both eliminations in one loop: rows k (above the middle) and n-1-k (below it). The last
    // value of each chain stays in a register rather than making a round trip through memory.
    const std::size_t above = m; // rows 0 .. m-1
    const std::size_t below = n - 1 - m; // rows m+1 .. n-1, as many or one fewer
    double top = x[0] *= pivot[0];
    double bottom = x[n - 1] *= pivot[n - 1];
    std::size_t k = 1;
    for (; k < below; ++k) {
        const std::size_t j = n - 1 - k;
        top = x[k] = x[k] * pivot[k] - lowerRatio[k] * top;
        bottom = x[j] = x[j] * pivot[j] - upperRatio[j] * bottom;
    }
    if (k < above)
        top = x[k] = x[k] * pivot[k] - lowerRatio[k] * top;

    const double middle = (x[m] - m_middleLower * top - m_middleUpper * bottom) * m_middlePivot;
    x[m] = middle;

    // Back outwards from the middle, both ways at once.
    top = middle;
    bottom = middle;
    for (k = 1; k <= below; ++k) {
        top = x[m - k] -= upperRatio[m - k] * top;
        bottom = x[m + k] -= lowerRatio[m + k] * bottom;
    }
    if (k <= above)
        x[m - k] -= upperRatio[m - k] * top;
}

} // namespace numerics
