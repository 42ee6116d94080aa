#pragma once
// The physical parameters of the erosion-history thermal model, in the units of the command line
// (the one-letter options of `cooling_ages history` beside each), with their defaults and their
// check. The model itself converts them to metres, seconds and watts.
//
//     thermal::ThermalParameters p;            // the defaults: 25 C/km from 0 C to 1250 C at 50 km
//     p.heatProductionUWm3 = 2.0;              // -H 2, decaying over --hr 10000 m
//     if (auto message = thermal::parameterError(p)) ...   // "ERROR: " + *message in a main

#include <optional>
#include <string>

namespace thermal {

// What holds the base of the column: its temperature (-b) or the heat flowing up into it (-q).
enum class BaseCondition { Temperature, HeatFlow };

// How the radiogenic heat production falls off with depth: exp(-d / hr) (--hr), or uniform down
// to a depth and none below (--h-depth).
enum class HeatProductionShape { Exponential, Uniform };

// The state of the column when the first erosion phase begins: the steady conductive geotherm
// with the model's heat production and base, or the straight line T0 + G d (-B is G).
enum class InitialState { Steady, Linear };

struct ThermalParameters {
    // -T, C. The other models' surface temperature, so that their paths start alike.
    double surfaceTemperatureC = 0.0;
    // -z, m. The depth of transient_erosion's and periodic_topography's model column.
    double baseDepthM = 50000.0;
    // -b or -q. The base is held at a temperature by default: periodic_topography's base, 1250 C
    // at 50 km, which with no heat production is the suite's 25 C/km geotherm. A held heat flow
    // lets sustained erosion heat the whole column without bound (its steady temperatures grow as
    // exp(u L / kappa): at 2 mm/yr over 50 km the base would reach 4960 C instead of 1250 C),
    // whereas a held temperature stands for the roughly constant temperature at the base of the
    // lithosphere.
    BaseCondition base = BaseCondition::Temperature;
    double baseTemperatureC = 1250.0; // -b, C
    // -q, mW/m2, the heat flowing up through the base: k G with the defaults, 3 W/m/K x 25 C/km,
    // so that switching to a held heat flow keeps the default geotherm.
    double baseHeatFlowMWm2 = 75.0;
    // -k, W/m/K. With the suite's diffusivity this gives rho c = k / kappa = 2.2e6 J/m3/K, e.g.
    // 2750 kg/m3 x 800 J/kg/K, typical of the continental crust (Turcotte & Schubert 2002,
    // Geodynamics, 2nd ed., Cambridge University Press, chapter 4).
    double conductivityWmK = 3.0;
    // -a, m2/s. transient_erosion's and periodic_topography's kappa.
    double diffusivityM2s = 1.3636e-6;
    // -H, uW/m3, at the surface. None by default, so that the default geotherm is the straight
    // 25 C/km line the other models start from; granitic upper crust produces 1 to 3 uW/m3
    // (Turcotte & Schubert 2002, chapter 4).
    double heatProductionUWm3 = 0.0;
    HeatProductionShape heatProductionShape = HeatProductionShape::Exponential;
    // --hr, m: the e-folding depth of exp(-d / hr). 10 km, the scale that the linear relation of
    // surface heat flow and heat production gives (Lachenbruch 1970, J. Geophys. Res. 75:3291).
    double heatProductionScaleM = 10000.0;
    // --h-depth, m: the thickness of a uniform heat-producing layer. Also 10 km: a layer as
    // thick as the exponential's scale holds the same total heat production, H hr.
    double heatProductionDepthM = 10000.0;
    // --initial. The steady state of the model without erosion, by default.
    InitialState initial = InitialState::Steady;
    // -B, C/m: G of the linear initial state, transient_erosion's default gradient.
    double initialGradientCm = 0.025;
};

// From the command line's units to SI: uW/m3 to W/m3, mW/m2 to W/m2.
inline constexpr double wattsPerMicrowatt = 1e-6;
inline constexpr double wattsPerMilliwatt = 1e-3;

// The lowest temperature there is, C.
inline constexpr double absoluteZeroC = -273.15;

// The deepest base accepted, m: well below the lithosphere, and a grid of at most a few tens of
// thousands of nodes at any resolution the model picks.
inline constexpr double deepestBaseM = 1.0e6;

// The first value the model cannot take, as one line naming its option and the accepted range,
// without the "ERROR: " prefix, e.g. "conductivity (-k 0 W/m/K) must be above 0"; nothing when
// every value is usable. Only the values the chosen base, heat production shape and initial
// state use are checked.
std::optional<std::string> parameterError(const ThermalParameters& parameters);

} // namespace thermal
