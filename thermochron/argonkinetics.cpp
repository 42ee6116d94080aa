#include "argonkinetics.h"

#include "physicalconstants.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace thermochron {

namespace {

// kJ/mol of a pressure times a molar volume of 1 kbar cm3/mol (1e8 Pa x 1e-6 m3/mol = 100 J/mol).
constexpr double kilojoulesPerKilobarCubicCentimetre = 0.1;

// Dodson (1973), Contrib. Mineral. Petrol. 40:259: A = e^(G) of each shape.
constexpr double sphereGeometryFactor = 55;
constexpr double cylinderGeometryFactor = 27;
constexpr double sheetGeometryFactor = 8.7;

} // namespace

ArgonKinetics argonKinetics(Kinetics kinetics)
{
    switch (kinetics) {
    case Kinetics::Lovera1997:
        // One domain of K-feldspar, the mean of the multi-domain fits of Lovera, Grove and
        // Harrison (1997), GCA 61:3171: D0/a^2 = 1e5 /s, Ea 192.46 kJ/mol (46 kcal/mol), plane
        // sheet. Real K-feldspars hold many domains; one alone dates where the mean closes.
        return { kinetics, DomainFrequencyFactor { 1e5 }, 192.46, 0, 0,
            DiffusionGeometry::PlaneSheet, NAN };
    case Kinetics::Grove1996:
        // Biotite, Grove and Harrison (1996), Am. Mineral. 81:940: D0 0.075 cm2/s, Ea 197.07
        // kJ/mol (47.1 kcal/mol), infinite cylinder of 150 um radius.
        return { kinetics, GrainFrequencyFactor { 0.075 }, 197.07, 0, 0,
            DiffusionGeometry::InfiniteCylinder, 150 };
    case Kinetics::Harrison2009:
        // Muscovite, Harrison, Celerier, Aikman, Hermann and Heizler (2009), GCA 73:1039: D0 2.3
        // cm2/s, Ea 263.6 kJ/mol at 10 kbar, activation volume 14 cm3/mol, sphere of 100 um.
        return { kinetics, GrainFrequencyFactor { 2.3 }, 263.6, 14, 10, DiffusionGeometry::Sphere,
            100 };
    case Kinetics::Harrison1981:
        // Hornblende, Harrison (1981), Contrib. Mineral. Petrol. 78:324: D0 0.024 cm2/s, Ea
        // 268.19 kJ/mol (64.1 kcal/mol), sphere of 80 um.
        return { kinetics, GrainFrequencyFactor { 0.024 }, 268.19, 0, 0, DiffusionGeometry::Sphere,
            80 };
    default:
        throw std::invalid_argument(
            std::string(kineticsName(kinetics)) + " are no 40Ar/39Ar kinetics");
    }
}

double activationEnergyAt(const ArgonKinetics& kinetics, double pressureKbar)
{
    return kinetics.activationEnergyKJPerMol
        + (pressureKbar - kinetics.referencePressureKbar)
        * kinetics.activationVolumeCubicCentimetresPerMol * kilojoulesPerKilobarCubicCentimetre;
}

namespace {

// D0 / a^2, 1/s.
double frequencyPerSecond(const ArgonKinetics& kinetics, double radiusUm)
{
    if (const auto* domain = std::get_if<DomainFrequencyFactor>(&kinetics.frequencyFactor))
        return domain->perSecond;
    const double d0
        = std::get<GrainFrequencyFactor>(kinetics.frequencyFactor).d0SquareCentimetresPerSecond;
    return d0 * squareMicrometresPerSquareCentimetre / (radiusUm * radiusUm);
}

} // namespace

double argonDiffusionRatePerSecond(
    const ArgonKinetics& kinetics, double temperatureC, double radiusUm, double pressureKbar)
{
    return frequencyPerSecond(kinetics, radiusUm)
        * std::exp(-activationEnergyAt(kinetics, pressureKbar) * joulesPerKilojoule
            / (gasConstant * (temperatureC + zeroCelsiusInKelvin)));
}

double dodsonGeometryFactor(DiffusionGeometry geometry)
{
    switch (geometry) {
    case DiffusionGeometry::PlaneSheet:
        return sheetGeometryFactor;
    case DiffusionGeometry::InfiniteCylinder:
        return cylinderGeometryFactor;
    case DiffusionGeometry::Sphere:
        return sphereGeometryFactor;
    }
    return NAN;
}

ClosureKinetics argonClosureKinetics(
    const ArgonKinetics& kinetics, double radiusUm, double pressureKbar)
{
    return { activationEnergyAt(kinetics, pressureKbar),
        dodsonGeometryFactor(kinetics.geometry) * frequencyPerSecond(kinetics, radiusUm) };
}

} // namespace thermochron
