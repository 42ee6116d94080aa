#include "predict.h"

#include "dodson.h"
#include "fissiontrack.h"
#include "heliumdiffusion.h"

#include <stdexcept>
#include <string>

namespace thermochron {

bool supports(System system, Method method)
{
    return method == Method::Dodson || kineticMethod(system) == method;
}

Age predictAge(const CoolingPath& path, System system, Method method, const Grain& grain)
{
    if (!supports(system, method))
        throw std::invalid_argument("no " + std::string(methodName(method)) + " age for "
            + std::string(systemName(system)));
    switch (method) {
    case Method::Dodson:
        return dodsonAge(path, system);
    case Method::Diffusion:
        return heliumAge(
            path, system == System::AHe ? HeliumMineral::Apatite : HeliumMineral::Zircon, grain);
    case Method::Annealing:
        return apatiteFissionTrackAge(path, grain);
    }
    return {};
}

} // namespace thermochron
