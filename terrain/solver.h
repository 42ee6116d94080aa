#pragma once
// The linear solves of the 3D model: BiCGSTAB (the systems are not symmetric: advection) with an
// incomplete LU preconditioner, formed once per matrix and reused for every step of a phase.
//
// The preconditioner was chosen by measurement on the 61 x 61 x 41 benchmark grid (bench/
// terrain_bench.cpp; docs/terrain.md has the figures): one step's matrix with a perturbed
// right-hand side took BiCGSTAB 13 iterations with ILU(0) (0.19 s to form), 40 with Jacobi's
// diagonal, 25 with Eigen's IncompleteLUT at fill 1 and drop 1e-4 (3.2 s to form), 4 with its
// default fill of 10 (219 s to form, more than a whole run may take). In the runs themselves,
// from the extrapolated guess, ILU(0) takes 2.3 iterations a step and the run 2.1 s, Jacobi 7.7
// and 2.6 s. ILU(0) keeps the matrix's own 27-point pattern; in the grid's column-by-column
// order the strongest (vertical) couplings lie in neighbouring rows, which it factors almost
// exactly.

#include "finiteelements.h"

#include <Eigen/IterativeLinearSolvers>

namespace terrain {

// ILU(0): L U = A on A's pattern, L unit lower. As an Eigen preconditioner: compute(A), then
// solve(b) gives U^-1 L^-1 b.
class IncompleteLu0 {
public:
    IncompleteLu0() = default;
    template <typename Matrix> explicit IncompleteLu0(const Matrix& a) { compute(a); }

    IncompleteLu0& analyzePattern(const SparseMatrix&) { return *this; }
    IncompleteLu0& factorize(const SparseMatrix& a) { return compute(a); }
    IncompleteLu0& compute(const SparseMatrix& a);
    Eigen::ComputationInfo info() const { return Eigen::Success; }
    Eigen::VectorXd solve(const Eigen::VectorXd& b) const;
    Eigen::Index rows() const { return m_factors.rows(); }
    Eigen::Index cols() const { return m_factors.cols(); }

private:
    SparseMatrix m_factors; // L below the diagonal, U on and above it
    std::vector<int> m_diagonal; // each row's diagonal entry in m_factors' values
};

class StepSolver {
public:
    // Relative residual at which an iteration stops: 1e-10 of temperatures of order 1e3 C is
    // 1e-7 C, far below what the paths are resolved to.
    static constexpr double tolerance = 1e-10;
    static constexpr int maximumIterations = 2000;

    // Forms the preconditioner of a; a must outlive the solves.
    void prepare(const SparseMatrix& a);
    // Solves a x = b from the guess x; throws std::runtime_error when it does not converge.
    void solve(const Eigen::VectorXd& b, Eigen::VectorXd& x);

    long long iterations() const { return m_iterations; }
    double largestResidual() const { return m_largestResidual; }

private:
    Eigen::BiCGSTAB<SparseMatrix, IncompleteLu0> m_solver;
    long long m_iterations = 0;
    double m_largestResidual = 0;
};

} // namespace terrain
