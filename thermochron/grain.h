#pragma once
// The grain a kinetic age is predicted for. Its radius is that of the equivalent sphere of a
// (U-Th)/He grain, or the radius (half-thickness) of an argon diffusion domain.

namespace thermochron {

struct Grain {
    double radiusUm = 60; // radius of the equivalent sphere, um (> 0)
    double uPpm = 10; // uranium, ppm (>= 0; U + Th + Sm > 0)
    double thPpm = 10; // thorium, ppm (>= 0)
    double smPpm = 0; // samarium, ppm (>= 0): 147Sm is a fourth, weak alpha emitter
    double dparUm = 1.75; // apatite etch-pit diameter, um (> 0); sets annealing resistance
    // The pressure the grain cooled at, kbar: the activation volume of argon diffusion in
    // muscovite (Harrison et al. 2009) reads it.
    double pressureKbar = 5;
};

} // namespace thermochron
