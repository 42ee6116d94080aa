#pragma once
// cooling_ages's age options from Python arguments: the systems (a list of names or one text of
// names separated by commas), the method, the grain and the kinetics, read by the program's own
// readers, so that a bad value raises ValueError with the program's message.

#include "arrays.h"

#include "agesettings.h"

#include <span>
#include <string>

namespace erosion_python {

struct GrainArguments {
    double apatiteRadiusUm;
    double zirconRadiusUm;
    double uPpm;
    double thPpm;
    double smPpm;
    double dparUm;
    std::string apatiteKinetics; // names, read as --apatite-kinetics and --zircon-kinetics are
    std::string zirconKinetics;
    // The options that came with the kinetic ZFT and argon ages and the track lengths, in the
    // order the functions take them: --biotite-radius, --muscovite-radius, --hornblende-radius,
    // --pressure, --cf-irradiated, --zircon-ft-kinetics.
    double biotiteRadiusUm;
    double muscoviteRadiusUm;
    double hornblendeRadiusUm;
    double pressureKbar;
    bool californiumIrradiated;
    std::string zirconFtKinetics;
};

// The grain's parameters of a function that dates, in the order of grainKeywords()
// (grainkeywords.h), their names passed on, and the GrainArguments they make: macros, for
// pybind11 maps each keyword onto a parameter of its own, and a dozen functions take them.
// clang-format off
#define GRAIN_PARAMETERS                                                                           \
    const double apatiteRadiusUm, const double zirconRadiusUm, const double uPpm,                 \
        const double thPpm, const double smPpm, const double dparUm,                              \
        const std::string &apatiteKinetics, const std::string &zirconKinetics,                    \
        const double biotiteRadiusUm, const double muscoviteRadiusUm,                             \
        const double hornblendeRadiusUm, const double pressureKbar,                               \
        const bool californiumIrradiated, const std::string &zirconFtKinetics
#define GRAIN_NAMES                                                                                \
    apatiteRadiusUm, zirconRadiusUm, uPpm, thPpm, smPpm, dparUm, apatiteKinetics, zirconKinetics,  \
        biotiteRadiusUm, muscoviteRadiusUm, hornblendeRadiusUm, pressureKbar,                     \
        californiumIrradiated, zirconFtKinetics
#define GRAIN_ARGUMENTS (erosion_python::GrainArguments { GRAIN_NAMES })
// clang-format on

// The arguments that choose kinetics, one per option of cooling_ages (ages::kineticsOptions):
// apatite_kinetics for --apatite-kinetics, zircon_kinetics for --zircon-kinetics,
// zircon_ft_kinetics for --zircon-ft-kinetics.
struct KineticsArgument {
    const char* name;
    thermochron::System system;
    std::string GrainArguments::*word;
};
std::span<const KineticsArgument> kineticsArguments();

// The default of a kinetics argument: the name of the catalogue's default kinetics.
std::string defaultKineticsName(thermochron::System system);

// Not yet checked: settingsError does that, as the program does, before any age is computed.
ages::AgeSettings ageSettings(
    const py::handle& systems, const std::string& method, const GrainArguments& grain);

// The default systems as a list of their names: the default of a systems argument.
py::list defaultSystemNames();

} // namespace erosion_python
