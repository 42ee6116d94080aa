#pragma once
// The radial grid of the helium diffusion model in a sphere of radius a: nodes
// r_0 = 0 < r_1 < ... < r_n = a, with the unknowns u_i = r_i C_i at the n - 1 inner nodes (u is 0
// at both ends: at the centre because u = r C, at the surface because helium escapes there).
// The nodes crowd towards the surface, r_i = a tanh(b i/n) / tanh(b), where cooling leaves a
// thin depleted rim that sets how much helium is lost; the smooth stretching keeps the
// three-point second difference second-order accurate.

#include <span>
#include <vector>

namespace thermochron {

struct RadialGrid {
    RadialGrid(int innerNodes, double grainRadius);

    // Mean concentration of the sphere: (3 / a^3) integral of r^2 C dr = (3 / a^3) int r u dr.
    double meanConcentration(std::span<const double> u) const;

    // u + f d2u/dr2 at the inner nodes, into out.
    void addExplicitDiffusion(std::span<const double> u, double f, std::span<double> out) const;

    double radius; // a, um
    std::vector<double> nodes; // r_i of the inner nodes, um
    // d2u/dr2 at node i ~ lowerWeight (u_(i-1) - u_i) + upperWeight (u_(i+1) - u_i), 1/um2.
    std::vector<double> lowerWeight;
    std::vector<double> upperWeight;
    // int r u dr ~ sum of rWeight_i u_i, um2: node i stands for the shell between the midpoints
    // to its neighbours (the innermost down to the centre, the outermost up to the surface), with
    // its concentration u_i / r_i throughout. A uniform concentration is integrated exactly, and
    // the jump to zero at the surface of a grain that loses nothing costs nothing.
    std::vector<double> rWeight;
};

} // namespace thermochron
