#pragma once
// The heat equation on the terrain-following grid by trilinear finite elements. With rock
// rising at w(x, y, t) = u(t) f(x, y) (u the erosion history's rate, f the uplift map), the
// temperature obeys, z up,
//
//     dT/dt = kappa lap T - w dT/dz + A(d) kappa / k,    d = h(x, y) - z,
//
// between the surface, held at T0 - lapse h, and the base z = -L, held at Tb or taking the heat
// flow qb (k dT/dz = -qb: heat flows up). The sides are insulated: no heat crosses the edge of
// the DEM. Galerkin's weak form with the trilinear hat functions phi_i gives
//
//     M dT/dt = -(D + u C) T + F,
//     D_ij = int kappa grad phi_i . grad phi_j,   C_ij = int phi_i f dphi_j/dz,
//     F_i  = int phi_i A kappa / k  +  int_base phi_i kappa qb / k,
//
// M lumped (the row sums of the consistent mass, int phi_i): the second order stays, and with
// it the scheme gives no overshoot at the kinks a change of rate or relief makes. The integrals
// run over each hexahedron's map from the unit cube with 2 x 2 x 2 Gauss points (exact for D
// and C on a cell whose columns are straight, as here) and 3 x 3 x 3 for the heat production.
// The matrices are assembled once per geometry: a change of rate only rescales C.

#include "terraingrid.h"
#include "thermalparameters.h"

#include <Eigen/Sparse>

#include <vector>

namespace terrain {

using SparseMatrix = Eigen::SparseMatrix<double, Eigen::RowMajor>;

struct FiniteElementSystem {
    SparseMatrix diffusion; // D, m3/s
    SparseMatrix advection; // C for u = 1 m/s, m2
    Eigen::VectorXd mass; // lumped M, m3
    Eigen::VectorXd source; // F, C m3/s
};

// upliftFactors: f per DEM node (empty: 1 everywhere).
FiniteElementSystem assemble(const TerrainGrid& grid, const thermal::ThermalParameters& parameters,
    const std::vector<double>& upliftFactors);

} // namespace terrain
