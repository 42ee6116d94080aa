#include "agekind.h"

#include "textformat.h"

#include <stdexcept>
#include <string>

namespace ages {

namespace {

using thermochron::Grain;
using thermochron::Method;

// The grain a method reads, from the sample's values over the age options of its mineral.
Grain grainFor(const ObservedAge& sample, Method method, const AgeSettings& settings)
{
    const Grain options = settings.grainFor(sample.system);
    Grain grain; // the fields a method does not read stay at their defaults
    if (method == Method::Diffusion) {
        grain.radiusUm = sample.radiusUm.value_or(options.radiusUm);
        grain.uPpm = sample.uPpm.value_or(options.uPpm);
        grain.thPpm = sample.thPpm.value_or(options.thPpm);
        grain.smPpm = sample.smPpm.value_or(options.smPpm);
    } else if (method == Method::Annealing) {
        grain.dparUm = sample.dparUm.value_or(options.dparUm);
    }
    return grain;
}

std::string shown(double value)
{
    return textformat::number(value);
}

void checkGrain(
    const ObservedAge& sample, Method method, const Grain& grain, std::string_view fileName)
{
    const auto refuse = [&](const std::string& reason) {
        throw ObservedAgesError(
            std::string(fileName) + " line " + std::to_string(sample.line) + ": " + reason);
    };
    if (method == Method::Diffusion) {
        if (!(grain.radiusUm >= minRadiusUm && grain.radiusUm <= maxRadiusUm)) {
            refuse("radius " + shown(grain.radiusUm) + " um is outside " + shown(minRadiusUm)
                + " to " + shown(maxRadiusUm) + " um");
        }
        if (!(grain.uPpm >= 0 && grain.thPpm >= 0 && grain.smPpm >= 0)) {
            refuse("u_ppm, th_ppm and sm_ppm must be 0 or more");
        }
        if (grain.uPpm + grain.thPpm + grain.smPpm <= 0) {
            refuse("U, Th and Sm are all 0 ppm: the grain would make no helium");
        }
        if (!(grain.uPpm <= maxParentPpm && grain.thPpm <= maxParentPpm
                && grain.smPpm <= maxParentPpm)) {
            refuse("u_ppm, th_ppm and sm_ppm must each be at most " + shown(maxParentPpm)
                + " ppm, the whole grain");
        }
        if (effectiveUraniumPpm(grain.uPpm, grain.thPpm, grain.smPpm) < minEffectiveUraniumPpm) {
            refuse("U, Th and Sm give an eU below " + shown(minEffectiveUraniumPpm)
                + " ppm: the grain would make too little helium for an age");
        }
    } else if (method == Method::Annealing
        && !(grain.dparUm >= minDparUm && grain.dparUm <= maxDparUm)) {
        refuse("dpar " + shown(grain.dparUm) + " um is outside " + shown(minDparUm) + " to "
            + shown(maxDparUm) + " um");
    }
}

} // namespace

bool AgeKind::operator==(const AgeKind& other) const
{
    // Two choices that give the same kinetics for the system compute the same age.
    return system == other.system && method == other.method && kinetics == other.kinetics
        && grain.radiusUm == other.grain.radiusUm && grain.uPpm == other.grain.uPpm
        && grain.thPpm == other.grain.thPpm && grain.smPpm == other.grain.smPpm
        && grain.dparUm == other.grain.dparUm;
}

std::vector<AgeKind> sampleAgeKinds(const std::vector<ObservedAge>& samples,
    const AgeSettings& settings, const std::string_view fileName)
{
    std::vector<AgeKind> kinds;
    kinds.reserve(samples.size());
    for (const auto& sample : samples) {
        const auto kinetic = programKineticMethod(sample.system);
        const Method method
            = settings.methods == MethodChoice::dodson || !kinetic ? Method::Dodson : *kinetic;
        const Grain grain = grainFor(sample, method, settings);
        checkGrain(sample, method, grain, fileName);
        const auto kinetics = thermochron::kineticsFor(sample.system, method, settings.kinetics);
        if (!kinetics) // the options' choice was checked; a caller's own choice may be wrong
            throw std::invalid_argument("the kinetics chosen for "
                + std::string(thermochron::systemName(sample.system)) + " are not for it");
        kinds.push_back({ sample.system, method, *kinetics, settings.kinetics, grain });
    }
    return kinds;
}

} // namespace ages
