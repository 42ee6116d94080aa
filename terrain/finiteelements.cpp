#include "finiteelements.h"

#include "heatproduction.h"

#include <array>
#include <cmath>

namespace terrain {

namespace {

// The neighbours of a node along one axis that exist: offsets -1, 0, +1 minus those beyond the
// grid. Their count and the rank of an offset among them place an entry within its row, whose
// columns run over (dj, di, dk) in that order: node numbers grow with j, then i, then k.
struct AxisNeighbours {
    bool below, above; // -1 and +1 exist
    int count() const { return 1 + below + above; }
    int rank(const int offset) const { return offset + below; }
};

AxisNeighbours along(const int index, const int size)
{
    return { index > 0, index + 1 < size };
}

// The sparsity of the 27-point stencil, every row's columns in ascending order.
SparseMatrix stencilPattern(const TerrainGrid& g)
{
    const int nx = g.columns(), ny = g.rows(), nz = g.levels();
    const auto n = static_cast<Eigen::Index>(g.nodeCount());
    SparseMatrix m(n, n);
    m.reserve(Eigen::VectorXi::Constant(n, 27));
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            for (int k = 0; k < nz; ++k) {
                const auto row = static_cast<Eigen::Index>(g.node(i, j, k));
                for (int dj = -1; dj <= 1; ++dj)
                    for (int di = -1; di <= 1; ++di)
                        for (int dk = -1; dk <= 1; ++dk) {
                            const int ii = i + di, jj = j + dj, kk = k + dk;
                            if (ii < 0 || ii >= nx || jj < 0 || jj >= ny || kk < 0 || kk >= nz)
                                continue;
                            m.insert(row, static_cast<Eigen::Index>(g.node(ii, jj, kk))) = 0.0;
                        }
            }
    m.makeCompressed();
    return m;
}

// Gauss-Legendre points and weights on [0, 1].
struct Rule {
    std::vector<double> points, weights;
};
Rule gaussRule(const int order)
{
    if (order == 2) {
        const double d = 0.5 / std::sqrt(3.0);
        return { { 0.5 - d, 0.5 + d }, { 0.5, 0.5 } };
    }
    const double d = 0.5 * std::sqrt(0.6);
    return { { 0.5 - d, 0.5, 0.5 + d }, { 5.0 / 18.0, 8.0 / 18.0, 5.0 / 18.0 } };
}

// The trilinear shape functions of the unit cube's corner p = a + 2 b + 4 c (a along x, b
// along y, c down the levels) and their derivatives at (xi, eta, zeta).
struct Shape {
    std::array<double, 8> value, dXi, dEta, dZeta;
};
Shape shapeAt(const double xi, const double eta, const double zeta)
{
    Shape s {};
    for (int p = 0; p < 8; ++p) {
        const int a = p & 1, b = (p >> 1) & 1, c = (p >> 2) & 1;
        const double fx = a ? xi : 1 - xi, fy = b ? eta : 1 - eta, fz = c ? zeta : 1 - zeta;
        const double gx = a ? 1 : -1, gy = b ? 1 : -1, gz = c ? 1 : -1;
        s.value[p] = fx * fy * fz;
        s.dXi[p] = gx * fy * fz;
        s.dEta[p] = fx * gy * fz;
        s.dZeta[p] = fx * fy * gz;
    }
    return s;
}

} // namespace

FiniteElementSystem assemble(const TerrainGrid& g, const thermal::ThermalParameters& p,
    const std::vector<double>& upliftFactors)
{
    const int nx = g.columns(), ny = g.rows(), nz = g.levels();
    const auto n = static_cast<Eigen::Index>(g.nodeCount());
    FiniteElementSystem system;
    system.diffusion = stencilPattern(g);
    system.advection = system.diffusion;
    system.mass = Eigen::VectorXd::Zero(n);
    system.source = Eigen::VectorXd::Zero(n);
    double* const diffusion = system.diffusion.valuePtr();
    double* const advection = system.advection.valuePtr();
    const int* const rowStart = system.diffusion.outerIndexPtr();

    const double kappa = p.diffusivityM2s;
    const double perConductivity = kappa / p.conductivityWmK; // A kappa / k per W/m3
    const thermal::HeatProduction production(p);
    const bool producing = p.heatProductionUWm3 > 0.0;
    const double dx = g.spacingX(), dy = g.spacingY();
    const Rule rule2 = gaussRule(2), rule3 = gaussRule(3);
    std::vector<Shape> shapes2, shapes3;
    std::vector<double> weights2, weights3;
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            for (int c = 0; c < 2; ++c) {
                shapes2.push_back(shapeAt(rule2.points[a], rule2.points[b], rule2.points[c]));
                weights2.push_back(rule2.weights[a] * rule2.weights[b] * rule2.weights[c]);
            }
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            for (int c = 0; c < 3; ++c) {
                shapes3.push_back(shapeAt(rule3.points[a], rule3.points[b], rule3.points[c]));
                weights3.push_back(rule3.weights[a] * rule3.weights[b] * rule3.weights[c]);
            }

    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            std::array<double, 4> uplift {}; // f at the cell's corners, a + 2 b
            std::array<double, 4> surface {};
            for (int q = 0; q < 4; ++q) {
                const int ii = i + (q & 1), jj = j + (q >> 1);
                uplift[q] = upliftFactors.empty()
                    ? 1.0
                    : upliftFactors[static_cast<std::size_t>(jj) * nx + ii];
                surface[q] = g.surface(ii, jj);
            }
            for (int k = 0; k + 1 < nz; ++k) {
                std::array<double, 8> z {};
                std::array<std::size_t, 8> node {};
                for (int q = 0; q < 8; ++q) {
                    const int ii = i + (q & 1), jj = j + ((q >> 1) & 1), kk = k + (q >> 2);
                    z[q] = g.elevation(ii, jj, kk);
                    node[q] = g.node(ii, jj, kk);
                }
                std::array<double, 64> localD {}, localC {};
                for (std::size_t gp = 0; gp < shapes2.size(); ++gp) {
                    const Shape& s = shapes2[gp];
                    double zXi = 0, zEta = 0, zZeta = 0, f = 0;
                    for (int q = 0; q < 8; ++q) {
                        zXi += s.dXi[q] * z[q];
                        zEta += s.dEta[q] * z[q];
                        zZeta += s.dZeta[q] * z[q];
                    }
                    for (int q = 0; q < 4; ++q)
                        f += (s.value[q] + s.value[q + 4]) * uplift[q];
                    // x = x_i + xi dx, y = y_j + eta dy, z trilinear: the chain rule gives
                    // d/dz = d/dzeta / z_zeta, d/dx = (d/dxi - z_xi d/dz) / dx, likewise y.
                    const double volume = std::fabs(dx * dy * zZeta) * weights2[gp];
                    std::array<double, 8> gx {}, gy {}, gz {};
                    for (int q = 0; q < 8; ++q) {
                        gz[q] = s.dZeta[q] / zZeta;
                        gx[q] = (s.dXi[q] - zXi * gz[q]) / dx;
                        gy[q] = (s.dEta[q] - zEta * gz[q]) / dy;
                    }
                    for (int a = 0; a < 8; ++a)
                        for (int b = 0; b < 8; ++b) {
                            localD[a * 8 + b]
                                += kappa * volume * (gx[a] * gx[b] + gy[a] * gy[b] + gz[a] * gz[b]);
                            localC[a * 8 + b] += volume * s.value[a] * f * gz[b];
                        }
                }
                for (std::size_t gp = 0; gp < shapes3.size(); ++gp) {
                    const Shape& s = shapes3[gp];
                    double zPoint = 0, zZeta = 0, hPoint = 0;
                    for (int q = 0; q < 8; ++q) {
                        zPoint += s.value[q] * z[q];
                        zZeta += s.dZeta[q] * z[q];
                    }
                    for (int q = 0; q < 4; ++q)
                        hPoint += (s.value[q] + s.value[q + 4]) * surface[q];
                    const double volume = std::fabs(dx * dy * zZeta) * weights3[gp];
                    const double heat
                        = producing ? perConductivity * production.atDepth(hPoint - zPoint) : 0.0;
                    for (int a = 0; a < 8; ++a) {
                        system.mass[node[a]] += volume * s.value[a];
                        system.source[node[a]] += volume * s.value[a] * heat;
                    }
                }
                // Scatter: the entry of node b in node a's row.
                for (int a = 0; a < 8; ++a) {
                    const int ia = i + (a & 1), ja = j + ((a >> 1) & 1), ka = k + (a >> 2);
                    const AxisNeighbours ax = along(ia, nx), ay = along(ja, ny), az = along(ka, nz);
                    for (int b = 0; b < 8; ++b) {
                        const int di = (b & 1) - (a & 1), dj = ((b >> 1) & 1) - ((a >> 1) & 1);
                        const int dk = (b >> 2) - (a >> 2);
                        const int slot = rowStart[node[a]]
                            + (ay.rank(dj) * ax.count() + ax.rank(di)) * az.count() + az.rank(dk);
                        diffusion[slot] += localD[a * 8 + b];
                        advection[slot] += localC[a * 8 + b];
                    }
                }
            }
            // The held heat flow through the cell's face on the base: kappa qb / k per m2,
            // a quarter of the face to each corner (the bilinear hats' integrals).
            if (p.base == thermal::BaseCondition::HeatFlow) {
                const double flux = kappa * p.baseHeatFlowMWm2 * thermal::wattsPerMilliwatt
                    / p.conductivityWmK * dx * dy / 4.0;
                for (int q = 0; q < 4; ++q)
                    system.source[g.node(i + (q & 1), j + (q >> 1), nz - 1)] += flux;
            }
        }
    return system;
}

} // namespace terrain
