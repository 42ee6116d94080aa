#pragma once
// The radial grid of the diffusion models: a grain of radius (or half-thickness) a whose surface
// is kept at zero concentration, in one of three shapes, the sphere (n = 2), the infinite
// cylinder (n = 1) and the plane sheet (n = 0) of dC/dt = D r^-n d/dr(r^n dC/dr) + P.
//
// Sphere: nodes r_0 = 0 < r_1 < ... < r_n = a, with the unknowns u_i = r_i C_i at the n - 1
// inner nodes (u is 0 at both ends: at the centre because u = r C, at the surface because the
// daughter escapes there); u obeys du/dt = D d2u/dr2 + r P, a plain second difference.
// Cylinder and sheet: the unknowns are C_i themselves, at the centre (no flux across it: the
// grain is symmetric) and the inner nodes; each node stands for the shell between the midpoints
// to its neighbours, and the second difference is the balance of the fluxes r^n dC/dr across
// the shell's faces over its volume (r^(n+1) / (n+1) between the faces), second-order on the
// smooth grid.
//
// The nodes crowd towards the surface, r_i = a tanh(b i/n) / tanh(b), where cooling leaves a
// thin depleted rim that sets how much of the daughter is lost; the smooth stretching keeps the
// three-point second difference second-order accurate.

#include <span>
#include <vector>

namespace thermochron {

// The shape of a diffusion domain, by the exponent n of r^-n d/dr(r^n dC/dr).
enum class DiffusionGeometry { PlaneSheet = 0, InfiniteCylinder = 1, Sphere = 2 };

struct RadialGrid {
    // unknowns: the n - 1 inner nodes of a sphere; the centre and innerNodes - 1 inner nodes of a
    // cylinder or sheet.
    RadialGrid(
        int innerNodes, double grainRadius, DiffusionGeometry geometry = DiffusionGeometry::Sphere);

    // Mean concentration: ((n + 1) / a^(n + 1)) int r^n C dr; for the sphere
    // (3 / a^3) int r u dr.
    double meanConcentration(std::span<const double> u) const;

    // u + f d2u/dr2 at the inner nodes, into out.
    void addExplicitDiffusion(std::span<const double> u, double f, std::span<double> out) const;

    double radius; // a, um
    DiffusionGeometry geometry;
    std::vector<double> nodes; // r_i of the unknowns, um
    // d2u/dr2 at node i ~ lowerWeight (u_(i-1) - u_i) + upperWeight (u_(i+1) - u_i), 1/um2.
    std::vector<double> lowerWeight;
    std::vector<double> upperWeight;
    // int r^n C dr ~ sum of rWeight_i u_i, um^(n+1): node i stands for the shell between the
    // midpoints to its neighbours (the innermost down to the centre, the outermost up to the
    // surface), with its concentration (u_i / r_i in the sphere) throughout. A uniform
    // concentration is integrated exactly, and the jump to zero at the surface of a grain that
    // loses nothing costs nothing.
    std::vector<double> rWeight;
    // The factor of a uniform production P in the equation of each unknown: r_i in the sphere
    // (u = r C), 1 otherwise.
    std::vector<double> sourceWeight;

private:
    // The weights of the cylinder and the sheet.
    void fluxBalance(int unknowns, double grainRadius);
};

} // namespace thermochron
