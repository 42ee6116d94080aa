#pragma once
// (U-Th)/He ages from the production and diffusion of helium in a spherical grain.
//
// Helium made by the alpha decay of 238U, 235U, 232Th and 147Sm diffuses out of a sphere of
// radius a whose surface is kept at zero concentration. With u = r C the equation is
//     du/dt = D(t) d2u/dr2 + r P(r, t),   u(0) = u(a) = 0,
// solved by Crank-Nicolson on a radial grid along the path. D follows the temperature and, in
// the radiation-damage kinetics, the damage the grain holds at each step (radiationdamage.h).
// Alpha particles born within a stopping distance of the surface may leave the grain;
// production there is reduced accordingly. The helium left at present is turned into an age by
// inverting the ingrowth equation.

#include "age.h"
#include "coolingpath.h"
#include "grain.h"
#include "heliumkinetics.h"

#include <span>
#include <vector>

namespace thermochron {

// How finely the model resolves the grain and the path. Finer is slower and slightly more
// accurate: at the defaults an age without damage lies within about 0.2 % of the exact
// solution. With damage, halving every step moves an age by less than 0.06 %, and damage steps
// ten times finer by less than 0.04 %; the damage of an isothermal hold lies within 0.35 % of
// the exact integral over its cohorts.
struct HeliumResolution {
    int radialNodes = 40; // inner nodes of the radial grid (>= 3), crowded towards the surface
    double maxTimeStepMyr = 0.5; // longest time step, Myr
    double maxTemperatureStepC = 2.0; // largest temperature change within one time step, C
    // Damage kinetics: the damage is followed on steps of its own, coarser than those of the
    // diffusion (its annealing goes with the logarithm of time), and interpolated between them.
    // Where the path ends hot enough to erase young damage, the damage steps near the present
    // are at most ageFraction of their age (see cohortSteps).
    double damageTimeStepMyr = 2.0;
    double damageTemperatureStepC = 5.0;
    double ageFraction = 0.1;
};

// The fraction of the helium a grain held at the path's start that it may still hold at present
// for its age to count as reset, that is independent of what came before the path.
inline constexpr double resetRetentionLimit = 0.01;

// The age of a grain that followed the path, with no helium and no damage at the path's start:
// ageMa the Ft-corrected age accumulated since then, rawAgeMa the uncorrected one. Not reset
// when more than resetRetentionLimit of the helium the grain held at the path's start would
// still be in it at present: a rock older than the path is then older still. Throws
// std::invalid_argument for a bad path (see checkPath), a radius <= 0, negative U, Th or Sm, or
// U = Th = Sm = 0.
Age heliumAge(const CoolingPath& path, const HeliumKinetics& kinetics, const Grain& grain,
    const HeliumResolution& resolution = {});
// The same with the catalogued kinetics of that name (see heliumKinetics).
Age heliumAge(const CoolingPath& path, Kinetics kinetics, const Grain& grain,
    const HeliumResolution& resolution = {});

// The ages of many grains along one path, each as heliumAge gives it (heliumAge is this function
// for one grain; a grain's age here differs from that by rounding alone), with what depends on
// the path alone worked out once for all of them: the time steps, the production factors of each
// step and the annealing of the damage. The annealed dose is linear in the parents' amounts (a
// cohort's annealing depends on the path alone), so one walk through the cohorts for each of U,
// Th and Sm serves every grain. Throws as heliumAge does, for the first grain it refuses, before
// any age is computed.
std::vector<Age> heliumAges(const CoolingPath& path, const HeliumKinetics& kinetics,
    std::span<const Grain> grains, const HeliumResolution& resolution = {});

} // namespace thermochron
