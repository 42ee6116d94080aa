#pragma once
// (U-Th)/He ages from the production and diffusion of helium in a spherical grain.
//
// Helium made by the alpha decay of 238U, 235U and 232Th diffuses out of a sphere of radius a
// whose surface is kept at zero concentration. With u = r C the equation is
//     du/dt = D(T) d2u/dr2 + r P(r, t),   u(0) = u(a) = 0,   D = D0 exp(-Ea / (R T)),
// solved by Crank-Nicolson on a radial grid along the path. Alpha particles born within a stopping
// distance of the surface may leave the grain; production there is reduced accordingly. The
// helium left at present is turned into an age by inverting the ingrowth equation.

#include "age.h"
#include "coolingpath.h"
#include "grain.h"
#include "heliumproduction.h"

namespace thermochron {

enum class HeliumMineral { Apatite, Zircon };

// Helium diffusion kinetics and alpha stopping distances of a mineral.
struct HeliumKinetics {
    double d0SquareCentimetresPerSecond; // frequency factor D0, cm2/s
    double activationEnergyKJPerMol; // Ea, kJ/mol
    // Alpha stopping distances, um, for the 238U, 235U and 232Th chains. Zero: no ejection.
    PerParent stoppingDistanceUm;
};

// Apatite: Farley (2000); zircon: Reiners et al. (2004); stopping distances Ketcham et al. (2011).
HeliumKinetics heliumKinetics(HeliumMineral mineral);

// How finely the model resolves the grain and the path. Finer is slower and slightly more
// accurate: at the defaults an age lies within about 0.2 % of the exact solution.
struct HeliumResolution {
    int radialNodes = 40; // inner nodes of the radial grid (>= 3), crowded towards the surface
    double maxTimeStepMyr = 0.5; // longest time step, Myr
    double maxTemperatureStepC = 2.0; // largest temperature change within one time step, C
};

// The fraction of the helium a grain held at the path's start that it may still hold at present
// for its age to count as reset, that is independent of what came before the path.
inline constexpr double resetRetentionLimit = 0.01;

// The age of a grain that followed the path, with no helium at the path's start. ageMa is the
// Ft-corrected age, rawAgeMa the uncorrected one. Not reset when more than resetRetentionLimit
// of the helium the grain held at the path's start would still be in it at present; ageMa is
// then the path's start and rawAgeMa what the model computed. Throws std::invalid_argument for
// a bad path (see checkPath), a radius <= 0, negative U or Th, or U = Th = 0.
Age heliumAge(const CoolingPath& path, const HeliumKinetics& kinetics, const Grain& grain,
    const HeliumResolution& resolution = {});
Age heliumAge(const CoolingPath& path, HeliumMineral mineral, const Grain& grain,
    const HeliumResolution& resolution = {});

} // namespace thermochron
