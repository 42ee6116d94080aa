#include "agekind.h"

#include <sstream>
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
    } else if (method == Method::Annealing) {
        grain.dparUm = sample.dparUm.value_or(options.dparUm);
    }
    return grain;
}

std::string shown(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
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
        if (!(grain.uPpm >= 0 && grain.thPpm >= 0)) {
            refuse("u_ppm and th_ppm must be 0 or more");
        }
        if (grain.uPpm + grain.thPpm <= 0) {
            refuse("U and Th are both 0 ppm: the grain would make no helium");
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
    return system == other.system && method == other.method
        && grain.radiusUm == other.grain.radiusUm && grain.uPpm == other.grain.uPpm
        && grain.thPpm == other.grain.thPpm && grain.dparUm == other.grain.dparUm;
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
        kinds.push_back({ sample.system, method, grain });
    }
    return kinds;
}

} // namespace ages
