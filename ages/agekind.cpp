#include "agekind.h"

#include <string>

namespace ages {

namespace {

using thermochron::Grain;
using thermochron::Method;
using thermochron::System;

// The grain a method reads, from the sample's values over the defaults of its mineral.
Grain grainFor(const ObservedAge& sample, Method method, const DefaultGrains& defaults)
{
    Grain grain; // the fields a method does not read stay at their defaults
    const Grain& mineral = sample.system == System::ZHe ? defaults.zircon : defaults.apatite;
    if (method == Method::Diffusion) {
        grain.radiusUm = sample.radiusUm.value_or(mineral.radiusUm);
        grain.uPpm = sample.uPpm.value_or(mineral.uPpm);
        grain.thPpm = sample.thPpm.value_or(mineral.thPpm);
    } else if (method == Method::Annealing) {
        grain.dparUm = sample.dparUm.value_or(mineral.dparUm);
    }
    return grain;
}

void checkOwnGrain(const ObservedAge& sample, std::string_view fileName)
{
    const auto refuse = [&](const std::string& reason) {
        throw ObservedAgesError(
            std::string(fileName) + " line " + std::to_string(sample.line) + ": " + reason);
    };
    if (sample.radiusUm && *sample.radiusUm <= 0) {
        refuse("radius_um must be > 0");
    }
    if ((sample.uPpm && *sample.uPpm < 0) || (sample.thPpm && *sample.thPpm < 0)) {
        refuse("u_ppm and th_ppm must not be negative");
    }
    if (sample.uPpm && sample.thPpm && *sample.uPpm + *sample.thPpm <= 0) {
        refuse("a grain without U and Th makes no helium: u_ppm + th_ppm must be > 0");
    }
    if (sample.dparUm && *sample.dparUm <= 0) {
        refuse("dpar_um must be > 0");
    }
}

} // namespace

bool AgeKind::operator==(const AgeKind& other) const
{
    return system == other.system && method == other.method
        && grain.radiusUm == other.grain.radiusUm && grain.uPpm == other.grain.uPpm
        && grain.thPpm == other.grain.thPpm && grain.dparUm == other.grain.dparUm;
}

std::vector<AgeKind> sampleAgeKinds(const std::vector<ObservedAge>& samples,
    const DefaultGrains& defaults, const bool dodsonOnly, const std::string_view fileName)
{
    std::vector<AgeKind> kinds;
    kinds.reserve(samples.size());
    for (const auto& sample : samples) {
        checkOwnGrain(sample, fileName);
        const auto kinetic = thermochron::kineticMethod(sample.system);
        const Method method = dodsonOnly || !kinetic ? Method::Dodson : *kinetic;
        kinds.push_back({ sample.system, method, grainFor(sample, method, defaults) });
    }
    return kinds;
}

} // namespace ages
