#include "solver.h"

#include <stdexcept>
#include <string>

namespace terrain {

IncompleteLu0& IncompleteLu0::compute(const SparseMatrix& a)
{
    m_factors = a;
    m_factors.makeCompressed();
    const auto n = static_cast<int>(m_factors.rows());
    const int* start = m_factors.outerIndexPtr();
    const int* column = m_factors.innerIndexPtr();
    double* value = m_factors.valuePtr();
    m_diagonal.assign(n, -1);
    for (int row = 0; row < n; ++row)
        for (int e = start[row]; e < start[row + 1]; ++e)
            if (column[e] == row)
                m_diagonal[row] = e;
    // The IKJ form of Gaussian elimination, keeping only the entries of A's pattern. A row's
    // columns are sorted, so each elimination walks the two rows together.
    for (int row = 0; row < n; ++row) {
        for (int e = start[row]; e < start[row + 1] && column[e] < row; ++e) {
            const int pivotRow = column[e];
            value[e] /= value[m_diagonal[pivotRow]];
            const double factor = value[e];
            int f = e + 1;
            for (int g = m_diagonal[pivotRow] + 1; g < start[pivotRow + 1]; ++g) {
                while (f < start[row + 1] && column[f] < column[g])
                    ++f;
                if (f == start[row + 1])
                    break;
                if (column[f] == column[g])
                    value[f] -= factor * value[g];
            }
        }
    }
    return *this;
}

Eigen::VectorXd IncompleteLu0::solve(const Eigen::VectorXd& b) const
{
    const auto n = static_cast<int>(m_factors.rows());
    const int* start = m_factors.outerIndexPtr();
    const int* column = m_factors.innerIndexPtr();
    const double* value = m_factors.valuePtr();
    Eigen::VectorXd x = b;
    for (int row = 0; row < n; ++row) {
        double sum = x[row];
        for (int e = start[row]; e < m_diagonal[row]; ++e)
            sum -= value[e] * x[column[e]];
        x[row] = sum;
    }
    for (int row = n - 1; row >= 0; --row) {
        double sum = x[row];
        for (int e = m_diagonal[row] + 1; e < start[row + 1]; ++e)
            sum -= value[e] * x[column[e]];
        x[row] = sum / value[m_diagonal[row]];
    }
    return x;
}

void StepSolver::prepare(const SparseMatrix& a)
{
    m_solver.setTolerance(tolerance);
    m_solver.setMaxIterations(maximumIterations);
    m_solver.compute(a);
}

void StepSolver::solve(const Eigen::VectorXd& b, Eigen::VectorXd& x)
{
    x = m_solver.solveWithGuess(b, x);
    m_iterations += m_solver.iterations();
    m_largestResidual = std::max(m_largestResidual, m_solver.error());
    if (m_solver.info() != Eigen::Success)
        throw std::runtime_error("the temperature's linear system did not converge in "
            + std::to_string(m_solver.iterations()) + " iterations (relative residual "
            + std::to_string(m_solver.error()) + ")");
}

} // namespace terrain
