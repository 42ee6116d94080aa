#pragma once
// The parameters of the 3D model under a DEM: the 1D column's physical parameters, names and
// defaults (thermal::ThermalParameters, checked by thermal::parameterError), and what the third
// dimension adds: the lapse rate of the surface temperature, the grid's levels and time step,
// the relief history and an optional map of relative rock uplift.
//
//     terrain::TerrainParameters p;          // the column's defaults, 6.5 C/km, 41 levels
//     p.thermal.heatProductionUWm3 = 2.0;
//     p.relief = terrain::parseReliefHistory("20:0.5,8:1");
//     if (auto message = terrain::parameterError(p, dem)) ...

#include "dem.h"
#include "reliefhistory.h"
#include "thermalparameters.h"

#include <optional>
#include <string>
#include <vector>

namespace terrain {

struct TerrainParameters {
    // T0 (-T, at sea level), the base at depth L (-z) below sea level held at Tb or qb, k,
    // kappa, the heat production: as the 1D column takes them.
    thermal::ThermalParameters thermal;
    // C/km: the surface is colder by this much per km of elevation, T_s = T0 - lapse h. 6.5 C/km
    // is the standard atmosphere's tropospheric lapse rate (ICAO 1993, Manual of the ICAO
    // Standard Atmosphere, Doc 7488/3), the periodic model's default.
    double lapseRateCkm = 6.5;
    // Grid levels from the surface to the base (>= 3), spaced finer near the surface where the
    // rock's paths and the steepest curvature of the geotherm are.
    int levels = 41;
    // The deepest level spacing over the shallowest (>= 1): the levels follow sigma(s) =
    // (exp(b s) - 1) / (exp(b) - 1), b = ln(ratio), a smooth stretching that keeps the scheme's
    // second order. 10 gives 320 m at the surface and 3.2 km at the base for 41 levels over 50 km.
    double levelSpacingRatio = 10.0;
    // The longest time step, Myr: each phase (of erosion or of relief) is cut into equal steps
    // no longer than this.
    double timeStepMyr = 0.5;
    // Today's relief times a factor in the past (none: the DEM at all times).
    ReliefHistory relief;
    // Rock uplift relative to the erosion history's rate, one factor per DEM node (row-major as
    // Dem::heights, >= 0); empty: 1 everywhere, the rate of the history.
    std::vector<double> upliftFactors;
};

// The lowest and highest levels and steps accepted: a grid a run can allocate, a step count it
// can take.
inline constexpr int minimumLevels = 3;
inline constexpr int maximumLevels = 1000;

// The first value the model cannot take, as one line without the "ERROR: " prefix: the thermal
// parameters (thermal::parameterError), the lapse rate, levels, spacing ratio, time step, the
// relief history (reliefError), an uplift map that does not match the DEM, or a DEM whose
// surface reaches down to the base.
std::optional<std::string> parameterError(const TerrainParameters& parameters, const Dem& dem);

} // namespace terrain
