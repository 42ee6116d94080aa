#pragma once
// Solves tridiagonal systems A x = b by the Thomas algorithm (Gaussian elimination without
// pivoting, which is stable for the diagonally dominant matrices of implicit diffusion steps).
// factor() eliminates once; solve() then serves any number of right-hand sides with that
// matrix. One solver can be factored again and again without allocating anew.

#include <span>
#include <vector>

namespace thermochron {

class TridiagonalSolver {
public:
    // Row i reads lower[i] x[i-1] + diagonal[i] x[i] + upper[i] x[i+1] = b[i]; lower[0] and
    // upper[n-1] are not used. All three have the same length n >= 1.
    void factor(std::span<const double> lower, std::span<const double> diagonal,
        std::span<const double> upper);

    // Overwrites b (length n) with the solution x.
    void solve(std::span<double> b) const;

private:
    std::vector<double> m_lower;
    std::vector<double> m_pivot; // 1 / eliminated diagonal
    std::vector<double> m_eliminatedUpper; // upper / eliminated diagonal
};

} // namespace thermochron
