#include "assumptions.h"

#include "textformat.h"

#include <algorithm>
#include <optional>

namespace ages {

std::string kineticsAssumed(const std::vector<AgeKind>& kinds)
{
    std::vector<thermochron::System> named;
    std::string text = "kinetics";
    for (const AgeKind& kind : kinds) {
        if (std::find(named.begin(), named.end(), kind.system) != named.end())
            continue;
        text += std::string(named.empty() ? " " : ", ") + std::string(systemName(kind.system)) + " "
            + std::string(thermochron::kineticsName(kind.kinetics));
        named.push_back(kind.system);
    }
    return text;
}

std::string grainDefaultsAssumed(const std::vector<ObservedAge>& samples,
    const std::vector<AgeKind>& kinds, const AgeSettings& settings)
{
    using thermochron::System;
    struct Value {
        const char* column;
        bool GrainValuesRead::*read; // whether the sample's method reads it
        std::optional<double> ObservedAge::*given;
        double (*option)(const AgeSettings&, System);
    };
    const Value values[] = {
        { "radius_um", &GrainValuesRead::radius, &ObservedAge::radiusUm,
            [](const AgeSettings& s, System system) { return s.grainFor(system).radiusUm; } },
        { "u_ppm", &GrainValuesRead::parentContents, &ObservedAge::uPpm,
            [](const AgeSettings& s, System) { return s.uPpm; } },
        { "th_ppm", &GrainValuesRead::parentContents, &ObservedAge::thPpm,
            [](const AgeSettings& s, System) { return s.thPpm; } },
        { "sm_ppm", &GrainValuesRead::parentContents, &ObservedAge::smPpm,
            [](const AgeSettings& s, System) { return s.smPpm; } },
        { "dpar_um", &GrainValuesRead::dpar, &ObservedAge::dparUm,
            [](const AgeSettings& s, System) { return s.dparUm; } },
    };
    std::string parts;
    bool anyRead = false;
    for (const Value& value : values) {
        std::size_t reading = 0, defaulted = 0;
        std::vector<double> options; // the distinct option values taken (radius by mineral)
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (!(grainValuesRead(samples[i].system, kinds[i].method).*value.read))
                continue;
            ++reading;
            if (samples[i].*value.given)
                continue;
            ++defaulted;
            const double option = value.option(settings, samples[i].system);
            if (std::find(options.begin(), options.end(), option) == options.end())
                options.push_back(option);
        }
        anyRead = anyRead || reading > 0;
        if (defaulted == 0)
            continue;
        std::string shown;
        for (const double option : options) {
            if (!shown.empty())
                shown += '/';
            shown += textformat::number(option);
        }
        parts += std::string(parts.empty() ? "" : ", ") + value.column + " " + shown + " for "
            + std::to_string(defaulted) + " of " + std::to_string(reading)
            + (reading == 1 ? " sample" : " samples");
    }
    if (!anyRead)
        return {};
    return parts.empty() ? "grain values: all from the samples" : "grain defaults: " + parts;
}

} // namespace ages
