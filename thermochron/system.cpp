#include "system.h"

#include <array>

namespace thermochron {

namespace {

struct SystemEntry {
    System system;
    std::string_view name;
};

constexpr std::array systemNames { SystemEntry { System::AHe, "AHe" },
    SystemEntry { System::AFT, "AFT" }, SystemEntry { System::ZHe, "ZHe" },
    SystemEntry { System::ZFT, "ZFT" }, SystemEntry { System::BAr, "BAr" },
    SystemEntry { System::MAr, "MAr" }, SystemEntry { System::HAr, "HAr" } };

} // namespace

std::string_view systemName(System system)
{
    for (const auto& entry : systemNames)
        if (entry.system == system)
            return entry.name;
    return {};
}

std::optional<System> parseSystem(std::string_view name)
{
    for (const auto& entry : systemNames)
        if (entry.name == name)
            return entry.system;
    return std::nullopt;
}

std::string_view methodName(Method method)
{
    switch (method) {
    case Method::Dodson:
        return "dodson";
    case Method::Diffusion:
        return "diffusion";
    case Method::Annealing:
        return "annealing";
    }
    return {};
}

std::optional<Method> kineticMethod(System system)
{
    switch (system) {
    case System::AHe:
    case System::ZHe:
        return Method::Diffusion;
    case System::AFT:
        return Method::Annealing;
    default:
        return std::nullopt;
    }
}

} // namespace thermochron
