#pragma once
// A tridiagonal system A x = b factorised once and solved for many right-hand sides, eliminated
// from both ends towards the middle row at once ("burn at both ends", a twisted factorisation).
// The ordinary Thomas algorithm is one chain of dependent multiply-subtracts, bound by their
// latency; two independent chains, one from each end, keep the processor twice as busy, which
// halves the time of the solve that dominates a run of the thermal model and a helium diffusion
// age (the radial steps of a grain). No pivoting, so A must be diagonally dominant, as the
// matrices of implicit diffusion steps are. One system can be factorised again and again without
// allocating anew.
//
//     TridiagonalSystem system;
//     system.factor(lower, diagonal, upper);
//     system.solve(b);   // b becomes x

#include <span>
#include <vector>

namespace numerics {

class TridiagonalSystem {
public:
    // Row i reads lower[i] x[i-1] + diagonal[i] x[i] + upper[i] x[i+1] = b[i]; lower[0] and
    // upper[n-1] are not used. All three have the same length n >= 3.
    void factor(std::span<const double> lower, std::span<const double> diagonal,
        std::span<const double> upper);

    // Overwrites b (length n) with the solution x.
    void solve(std::span<double> b) const;

private:
    std::size_t m_middle = 0; // the row where both eliminations meet, n / 2
    // Rows above the middle, eliminated downwards: row i becomes x_i + m_upperRatio[i] x_{i+1}
    // = y_i with y_i = b_i m_pivot[i] - m_lowerRatio[i] y_{i-1}. Rows below the middle,
    // eliminated upwards, the mirror image: x_i + m_lowerRatio[i] x_{i-1} = z_i with
    // z_i = b_i m_pivot[i] - m_upperRatio[i] z_{i+1}.
    std::vector<double> m_pivot;
    std::vector<double> m_lowerRatio;
    std::vector<double> m_upperRatio;
    double m_middleLower = 0, m_middleUpper = 0, m_middlePivot = 0;
};

} // namespace numerics
