#pragma once
// Helium diffusion kinetics of apatite and zircon: how the diffusivity D depends on temperature
// and, in the radiation-damage models, on the alpha dose the grain has kept. Each model is a
// value of its published constants; heliumKinetics() gives the catalogued ones by name.
//
// In the damage models the dose is the annealed alpha dose, sum_i rho_i A_i (alphas per gram):
// the alphas A_i made in each step, each cohort weighted by the reduced density rho_i to which
// the path has since annealed its damage (see radiationdamage.h).

#include "catalogue.h"
#include "fanningannealing.h"
#include "heliumproduction.h"

#include <optional>
#include <variant>

namespace thermochron {

// D = D0 exp(-Ea / RT), whatever the damage.
struct ArrheniusDiffusion {
    double d0SquareCentimetresPerSecond;
    double activationEnergyKJPerMol;
};

// Apatite, radiation damage accumulation and annealing (Flowers, Ketcham, Shuster and Farley
// 2009, GCA 73:2347): helium is trapped in damage, whose density in equivalent fission tracks is
//     rho_v = rho_ap (lambda_f / lambda_238) eta_q L sum_i(rho_i A_i) / 8   (tracks/cm2),
//     D = D0 exp(-Ea/RT) / (1 + (psi rho_v + omega rho_v^3) exp(Etrap/RT)).
// The /8 counts the alpha dose in 238U decays, each of which makes 8 alphas and
// lambda_f / lambda_238 spontaneous fissions.
struct ApatiteDamageDiffusion {
    double d0SquareCentimetresPerSecond = 0.6071;
    double activationEnergyKJPerMol = 122.3;
    double trapActivationEnergyKJPerMol = 34.0;
    double psiSquareCentimetres = 1e-13;
    double omegaCentimetresToTheSixth = 1e-22;
    double apatiteDensityGramsPerCubicCentimetre = 3.19;
    double etchingEfficiency = 0.91; // eta_q
    double etchableLengthCentimetres = 8.15e-4; // L
    double fissionDecayConstantPerYear = 8.46e-17; // lambda_f
    double alphasPerDoseUnit = 8; // alphas per 238U decay
    AnnealingLaw damageAnnealing = apatiteDamageAnnealing();
};

// Zircon, radiation damage accumulation and annealing (Guenthner, Reiners, Ketcham, Nasdala and
// Giester 2013, Am. J. Sci. 313:145). Of the dose alpha (alphas per gram) a fraction
// f_a = 1 - exp(-B_a alpha phi) is amorphous and offers fast paths; the crystalline rest
// becomes tortuous as damaged zones crowd in, with mean intercept length
// l_int = 4.2 / ((1 - exp(-B_a alpha)) SV) - 2.5 nm and tortuosity tau = (l_int0 / l_int)^2
// (1 at and below the dose where l_int = l_int0):
//     1/D = tau (1 - f_a)^3 / D_z + f_a^3 / D_N17,
// D_z = D0z exp(-Ez/RT) of crystalline zircon, D_N17 = D0N17 exp(-EN17/RT) of the amorphous
// paths.
struct ZirconDamageDiffusion {
    double amorphousMassPerAlphaGrams = 5.48e-19; // B_a
    double amorphousOverlap = 3; // phi
    double interceptFactorNm = 4.2; // the 4.2 / SV of l_int is in nm with SV in 1/nm
    double surfaceToVolumePerNm = 1.669; // SV
    double interceptOffsetNm = 2.5;
    double undamagedInterceptNm = 45920; // l_int0
    double tortuosityOnsetAlphasPerGram = 1e14; // tau = 1 at and below this dose
    double crystallineD0SquareCentimetresPerSecond = 193188;
    double crystallineActivationEnergyKJPerMol = 165;
    double amorphousD0SquareCentimetresPerSecond = 6.367e-3;
    double amorphousActivationEnergyKJPerMol = 71;
    AnnealingLaw damageAnnealing = zirconDamageAnnealing();
};

using HeliumDiffusion = std::variant<ArrheniusDiffusion, ApatiteDamageDiffusion, ZirconDamageDiffusion>;

struct HeliumKinetics {
    Kinetics name; // the catalogue's name for the model, reported with the age
    HeliumDiffusion diffusion;
    // Alpha stopping distances, um, for 238U, 235U, 232Th and 147Sm. Zero: no ejection.
    PerParent stoppingDistanceUm;
};

// The catalogued kinetics of (U-Th)/He: Rdaam, Farley (Farley 2000), Zrdaam, Reiners (Reiners,
// Spell, Nicolescu and Zanetti 2004), each with the stopping distances of its mineral. Throws
// std::invalid_argument for kinetics that are not of (U-Th)/He.
HeliumKinetics heliumKinetics(Kinetics kinetics);

// D (cm2/s) at temperatureC for an annealed alpha dose (alphas per gram; ignored by Arrhenius).
double heliumDiffusivity(const HeliumDiffusion& diffusion, double temperatureC, double alphaDose);

// The law that anneals the damage a model's diffusivity follows; nothing for Arrhenius.
std::optional<AnnealingLaw> damageAnnealing(const HeliumDiffusion& diffusion);

} // namespace thermochron
