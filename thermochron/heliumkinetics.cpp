#include "heliumkinetics.h"

#include "physicalconstants.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace thermochron {

namespace {

// Helium in Durango apatite: Farley (2000), JGR 105:2903.
constexpr ArrheniusDiffusion farley2000 { 50.0, 138.0 };
// Helium in zircon: Reiners, Spell, Nicolescu and Zanetti (2004), GCA 68:1857.
constexpr ArrheniusDiffusion reiners2004 { 0.46, 169.0 };

// Alpha stopping distances, um, of 238U, 235U, 232Th and 147Sm: Ketcham, Gautheron and
// Tassan-Got (2011), GCA 75:7779.
constexpr PerParent apatiteStoppingDistanceUm { 18.81, 21.80, 22.25, 5.93 };
constexpr PerParent zirconStoppingDistanceUm { 15.55, 18.05, 18.43, 4.76 };

double arrhenius(double d0, double activationEnergyKJPerMol, double temperatureKelvin)
{
    return d0
        * std::exp(-activationEnergyKJPerMol * joulesPerKilojoule
            / (gasConstant * temperatureKelvin));
}

double diffusivity(const ArrheniusDiffusion& model, double temperatureKelvin, double)
{
    return arrhenius(
        model.d0SquareCentimetresPerSecond, model.activationEnergyKJPerMol, temperatureKelvin);
}

double diffusivity(const ApatiteDamageDiffusion& model, double temperatureKelvin, double alphaDose)
{
    const double trackDensity = model.apatiteDensityGramsPerCubicCentimetre
        * (model.fissionDecayConstantPerYear / decayConstantPerYear[0]) * model.etchingEfficiency
        * model.etchableLengthCentimetres * alphaDose / model.alphasPerDoseUnit;
    const double trapping = (model.psiSquareCentimetres * trackDensity
                                + model.omegaCentimetresToTheSixth * std::pow(trackDensity, 3))
        * std::exp(model.trapActivationEnergyKJPerMol * joulesPerKilojoule
            / (gasConstant * temperatureKelvin));
    return arrhenius(model.d0SquareCentimetresPerSecond, model.activationEnergyKJPerMol,
               temperatureKelvin)
        / (1.0 + trapping);
}

double diffusivity(const ZirconDamageDiffusion& model, double temperatureKelvin, double alphaDose)
{
    const double amorphous = -std::expm1(
        -model.amorphousMassPerAlphaGrams * alphaDose * model.amorphousOverlap);
    double tortuosity = 1.0;
    if (alphaDose > model.tortuosityOnsetAlphasPerGram) {
        const double intercept = model.interceptFactorNm
                / (-std::expm1(-model.amorphousMassPerAlphaGrams * alphaDose)
                    * model.surfaceToVolumePerNm)
            - model.interceptOffsetNm;
        tortuosity = std::pow(model.undamagedInterceptNm / intercept, 2);
    }
    const double crystalline = arrhenius(model.crystallineD0SquareCentimetresPerSecond,
        model.crystallineActivationEnergyKJPerMol, temperatureKelvin);
    const double fastPaths = arrhenius(model.amorphousD0SquareCentimetresPerSecond,
        model.amorphousActivationEnergyKJPerMol, temperatureKelvin);
    return 1.0
        / (tortuosity * std::pow(1.0 - amorphous, 3) / crystalline
            + std::pow(amorphous, 3) / fastPaths);
}

} // namespace

HeliumKinetics heliumKinetics(Kinetics kinetics)
{
    switch (kinetics) {
    case Kinetics::Rdaam:
        return { kinetics, ApatiteDamageDiffusion {}, apatiteStoppingDistanceUm };
    case Kinetics::Farley:
        return { kinetics, farley2000, apatiteStoppingDistanceUm };
    case Kinetics::Zrdaam:
        return { kinetics, ZirconDamageDiffusion {}, zirconStoppingDistanceUm };
    case Kinetics::Reiners:
        return { kinetics, reiners2004, zirconStoppingDistanceUm };
    default:
        throw std::invalid_argument(
            std::string(kineticsName(kinetics)) + " is not a (U-Th)/He kinetics");
    }
}

double heliumDiffusivity(const HeliumDiffusion& diffusion, double temperatureC, double alphaDose)
{
    return std::visit(
        [&](const auto& model) {
            return diffusivity(model, temperatureC + zeroCelsiusInKelvin, alphaDose);
        },
        diffusion);
}

std::optional<AnnealingLaw> damageAnnealing(const HeliumDiffusion& diffusion)
{
    if (const auto* apatite = std::get_if<ApatiteDamageDiffusion>(&diffusion))
        return apatite->damageAnnealing;
    if (const auto* zircon = std::get_if<ZirconDamageDiffusion>(&diffusion))
        return zircon->damageAnnealing;
    return std::nullopt;
}

} // namespace thermochron
