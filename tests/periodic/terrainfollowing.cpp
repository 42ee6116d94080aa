#include "terrainfollowing.h"

#include <Eigen/Sparse>
#include <Eigen/SparseLU>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace periodic {

double TerrainFollowingSolution::x(const int i) const
{
    return 0.5 * problem_.wavelength * i / columns_;
}

double TerrainFollowingSolution::z(const int i, const int j) const
{
    const double h
        = problem_.amplitude * std::cos(2.0 * std::numbers::pi / problem_.wavelength * x(i));
    const double zeta = static_cast<double>(j) / layers_;
    return -h + zeta * (problem_.basalDepth + h);
}

TerrainFollowingSolution::TerrainFollowingSolution(
    const SteadyStateProblem& problem, const int columns, const int layers)
    : problem_(problem)
    , columns_(columns)
    , layers_(layers)
    , theta_(static_cast<std::size_t>(columns + 1) * (layers + 1))
{
    const double k = 2.0 * std::numbers::pi / problem.wavelength;
    const double dx = 0.5 * problem.wavelength / columns;
    const double dzeta = 1.0 / layers;
    const double kappa = problem.diffusivity;
    const double depth = problem.basalDepth;

    // Boundary values: the lapse-rate surface and the fixed base.
    for (int i = 0; i <= columns; ++i) {
        theta_[index(i, 0)]
            = problem.surfaceTemp - problem.lapseRate * problem.amplitude * std::cos(k * x(i));
        theta_[index(i, layers)] = problem.basalTemp;
    }

    // Unknowns: layers 1 .. layers - 1, every column.
    const int rowLength = columns + 1;
    const int unknowns = rowLength * (layers - 1);
    auto unknown = [&](const int i, const int j) { return (j - 1) * rowLength + i; };
    std::vector<Eigen::Triplet<double>> entries;
    entries.reserve(static_cast<std::size_t>(unknowns) * 9);
    Eigen::VectorXd rhs = Eigen::VectorXd::Zero(unknowns);

    for (int j = 1; j < layers; ++j) {
        const double zeta = j * dzeta;
        for (int i = 0; i <= columns; ++i) {
            const double phase = k * x(i);
            const double h = problem.amplitude * std::cos(phase);
            const double dh = -problem.amplitude * k * std::sin(phase);
            const double d2h = -problem.amplitude * k * k * std::cos(phase);
            const double thickness = depth + h;
            const double zetaZ = 1.0 / thickness;
            const double zetaX = dh * (1.0 - zeta) / thickness;
            const double zetaXX
                = (1.0 - zeta) * (d2h / thickness - 2.0 * dh * dh / (thickness * thickness));

            // Coefficients of Theta_xx, Theta_xzeta, Theta_zetazeta and Theta_zeta.
            const double cxx = kappa;
            const double cxz = 2.0 * kappa * zetaX;
            const double czz = kappa * (zetaX * zetaX + zetaZ * zetaZ);
            const double cz = kappa * zetaXX + problem.velocity * zetaZ;

            const int row = unknown(i, j);
            auto add = [&](int ii, const int jj, const double weight) {
                // Mirror across the ridge (x = 0) and the valley (x = lambda / 2).
                if (ii < 0)
                    ii = -ii;
                if (ii > columns)
                    ii = 2 * columns - ii;
                if (jj == 0 || jj == layers) {
                    rhs(row) -= weight * theta_[index(ii, jj)];
                } else {
                    entries.emplace_back(row, unknown(ii, jj), weight);
                }
            };
            add(i - 1, j, cxx / (dx * dx));
            add(i + 1, j, cxx / (dx * dx));
            add(i, j - 1, czz / (dzeta * dzeta) - cz / (2.0 * dzeta));
            add(i, j + 1, czz / (dzeta * dzeta) + cz / (2.0 * dzeta));
            add(i, j, -2.0 * cxx / (dx * dx) - 2.0 * czz / (dzeta * dzeta));
            const double cross = cxz / (4.0 * dx * dzeta);
            if (cross != 0.0) {
                add(i + 1, j + 1, cross);
                add(i - 1, j - 1, cross);
                add(i + 1, j - 1, -cross);
                add(i - 1, j + 1, -cross);
            }
        }
    }

    Eigen::SparseMatrix<double> matrix(unknowns, unknowns);
    matrix.setFromTriplets(entries.begin(), entries.end()); // sums the mirrored duplicates
    Eigen::SparseLU<Eigen::SparseMatrix<double>> solver;
    solver.compute(matrix);
    if (solver.info() != Eigen::Success) {
        throw std::runtime_error("terrain-following system is singular");
    }
    const Eigen::VectorXd solution = solver.solve(rhs);
    for (int j = 1; j < layers; ++j) {
        for (int i = 0; i <= columns; ++i) {
            theta_[index(i, j)] = solution(unknown(i, j));
        }
    }
}

} // namespace periodic
