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
    const GrainValuesRead read = grainValuesRead(sample.system, method);
    if (read.radius)
        grain.radiusUm = sample.radiusUm.value_or(options.radiusUm);
    if (read.parentContents) {
        grain.uPpm = sample.uPpm.value_or(options.uPpm);
        grain.thPpm = sample.thPpm.value_or(options.thPpm);
        grain.smPpm = sample.smPpm.value_or(options.smPpm);
    }
    if (read.pressure)
        grain.pressureKbar = options.pressureKbar;
    if (read.dpar)
        grain.dparUm = sample.dparUm.value_or(options.dparUm);
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
    const GrainValuesRead read = grainValuesRead(sample.system, method);
    if (const RadiusOption* radius = radiusOptionFor(sample.system);
        read.radius && !(grain.radiusUm >= radius->lowUm && grain.radiusUm <= radius->highUm)) {
        refuse("radius " + shown(grain.radiusUm) + " um is outside " + shown(radius->lowUm) + " to "
            + shown(radius->highUm) + " um");
    }
    if (read.parentContents) {
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
    }
    if (read.dpar && !(grain.dparUm >= minDparUm && grain.dparUm <= maxDparUm)) {
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
        && grain.dparUm == other.grain.dparUm && grain.pressureKbar == other.grain.pressureKbar;
}

std::vector<AgeKind> sampleAgeKinds(const std::vector<ObservedAge>& samples,
    const AgeSettings& settings, const std::string_view fileName)
{
    std::vector<AgeKind> kinds;
    kinds.reserve(samples.size());
    for (const auto& sample : samples) {
        const auto kinetic = thermochron::kineticMethod(sample.system);
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
