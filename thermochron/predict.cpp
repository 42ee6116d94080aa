#include "predict.h"

#include "argondiffusion.h"
#include "dodson.h"
#include "fissiontrack.h"
#include "heliumdiffusion.h"
#include "zirconfissiontrack.h"

#include <stdexcept>
#include <string>

namespace thermochron {

bool supports(System system, Method method)
{
    return method == Method::Dodson || kineticMethod(system) == method;
}

namespace {

Kinetics chosenKinetics(System system, Method method, const KineticsChoice& kinetics)
{
    if (!supports(system, method))
        throw std::invalid_argument("no " + std::string(methodName(method)) + " age for "
            + std::string(systemName(system)));
    const std::optional<Kinetics> chosen = kineticsFor(system, method, kinetics);
    if (!chosen)
        throw std::invalid_argument(
            "the kinetics chosen for " + std::string(systemName(system)) + " are not for it");
    return *chosen;
}

bool datesHelium(System system)
{
    return system == System::AHe || system == System::ZHe;
}

} // namespace

std::vector<Age> predictAges(const CoolingPath& path, System system, Method method,
    std::span<const Grain> grains, const KineticsChoice& kinetics)
{
    const Kinetics chosen = chosenKinetics(system, method, kinetics);
    if (method == Method::Diffusion && datesHelium(system))
        return heliumAges(path, heliumKinetics(chosen), grains);
    std::vector<Age> ages;
    ages.reserve(grains.size());
    for (const Grain& grain : grains)
        ages.push_back(predictAge(path, system, method, grain, kinetics));
    return ages;
}

Age predictAge(const CoolingPath& path, System system, Method method, const Grain& grain,
    const KineticsChoice& kinetics)
{
    const std::optional<Kinetics> chosen = chosenKinetics(system, method, kinetics);
    switch (method) {
    case Method::Dodson:
        return dodsonAge(path, system);
    case Method::Diffusion:
        if (datesHelium(system))
            return heliumAge(path, *chosen, grain);
        return argonAge(path, argonKinetics(*chosen), grain.radiusUm, grain.pressureKbar);
    case Method::Annealing:
        if (system == System::ZFT)
            return zirconFissionTrackAge(path, *chosen);
        return apatiteFissionTrackAge(path, grain);
    }
    return {};
}

} // namespace thermochron
