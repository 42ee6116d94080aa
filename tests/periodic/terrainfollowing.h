#pragma once
// An independent check of the series solution: the same steady-state problem solved by second-
// order finite differences on a terrain-following grid.
//
// The column under x, from the surface z = -h(x) down to the base z = L, is mapped onto
// zeta = (z + h(x)) / (L + h(x)) in [0, 1], so the surface is a grid line. With T(x, z) =
// Theta(x, zeta), the equation kappa (T_xx + T_zz) + u T_z = 0 becomes
//
//     kappa [Theta_xx + 2 zeta_x Theta_xzeta + (zeta_x^2 + zeta_z^2) Theta_zetazeta
//            + zeta_xx Theta_zeta] + u zeta_z Theta_zeta = 0,
//
//     zeta_z = 1 / (L + h),   zeta_x = h' (1 - zeta) / (L + h),
//     zeta_xx = (1 - zeta) [h'' / (L + h) - 2 h'^2 / (L + h)^2].
//
// Half a period, 0 <= x <= lambda / 2, is enough: the surface is symmetric about the ridge and
// the valley, so Theta_x = 0 on both sides (mirror nodes). Theta is prescribed on the surface
// and at the base. The sparse system is solved directly (Eigen's SparseLU).

#include "steadystate.h"

#include <vector>

namespace periodic {

class TerrainFollowingSolution {
public:
    // columns + 1 nodes across half a period, layers + 1 nodes from the surface to the base.
    TerrainFollowingSolution(const SteadyStateProblem& problem, int columns, int layers);

    int columns() const { return columns_; }
    int layers() const { return layers_; }
    double x(int i) const;
    double z(int i, int j) const;
    double temperature(int i, int j) const { return theta_[index(i, j)]; }

private:
    int index(int i, int j) const { return j * (columns_ + 1) + i; }

    SteadyStateProblem problem_;
    int columns_;
    int layers_;
    std::vector<double> theta_; // all nodes, boundaries included
};

} // namespace periodic
