#pragma once
// Argon diffusion kinetics of K-feldspar, biotite, muscovite and hornblende: the diffusivity
//     D = D0 exp(-(Ea + (P - Pref) dV) / RT)
// of each mineral, the shape of its diffusion domain and the radius it was calibrated for. Each
// set is a value of its published constants; argonKinetics() gives the catalogued ones by name.

#include "catalogue.h"
#include "dodson.h"
#include "radialgrid.h"

#include <variant>

namespace thermochron {

// D0 of the mineral, cm2/s: D/a^2 follows from the grain's own radius.
struct GrainFrequencyFactor {
    double d0SquareCentimetresPerSecond;
};
// D0/a^2 of a diffusion domain, 1/s, published as such: the domain's size is not known apart
// from it, and the grain's radius does not enter.
struct DomainFrequencyFactor {
    double perSecond;
};

struct ArgonKinetics {
    Kinetics name; // the catalogue's name, reported with the age
    std::variant<GrainFrequencyFactor, DomainFrequencyFactor> frequencyFactor;
    double activationEnergyKJPerMol; // Ea at the reference pressure
    double activationVolumeCubicCentimetresPerMol; // dV; 0: no pressure dependence
    double referencePressureKbar; // Pref at which Ea was measured
    DiffusionGeometry geometry;
    // The radius (half-thickness of a sheet) of the calibration, um; NaN for a domain, whose
    // size does not enter.
    double radiusUm;
};

// The catalogued 40Ar/39Ar kinetics: Lovera1997 (K-feldspar), Grove1996 (biotite), Harrison2009
// (muscovite), Harrison1981 (hornblende). Throws std::invalid_argument for other kinetics.
ArgonKinetics argonKinetics(Kinetics kinetics);

// The pressure (kbar) at which a grain is taken to have cooled unless told otherwise.
inline constexpr double defaultPressureKbar = 5.0;

// Ea + (P - Pref) dV, kJ/mol (1 kbar cm3/mol = 0.1 kJ/mol).
double activationEnergyAt(const ArgonKinetics& kinetics, double pressureKbar);

// D/a^2 (1/s) at temperatureC of a grain of radiusUm at pressureKbar.
double argonDiffusionRatePerSecond(
    const ArgonKinetics& kinetics, double temperatureC, double radiusUm, double pressureKbar);

// Dodson's geometry factor A of the shape (Dodson 1973, Contrib. Mineral. Petrol. 40:259): 55
// for the sphere, 27 for the cylinder, 8.7 for the plane sheet.
double dodsonGeometryFactor(DiffusionGeometry geometry);

// The same constants as Dodson's closure takes them: Ea at the pressure and
// Omega = A D0 / a^2.
ClosureKinetics argonClosureKinetics(
    const ArgonKinetics& kinetics, double radiusUm, double pressureKbar);

} // namespace thermochron
