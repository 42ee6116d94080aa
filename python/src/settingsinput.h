#pragma once
// cooling_ages's age options from Python arguments: the systems (a list of names or one text of
// names separated by commas), the method and the grain, read by the program's own readers, so
// that a bad value raises ValueError with the program's message.

#include "arrays.h"

#include "agesettings.h"

#include <string>

namespace erosion_python {

struct GrainArguments {
    double apatiteRadiusUm;
    double zirconRadiusUm;
    double uPpm;
    double thPpm;
    double dparUm;
};

// Not yet checked: settingsError does that, as the program does, before any age is computed.
ages::AgeSettings ageSettings(
    const py::handle& systems, const std::string& method, const GrainArguments& grain);

// The default systems as a list of their names: the default of a systems argument.
py::list defaultSystemNames();

// Every system's name, in the catalogue's order: "AHe, AFT, ZHe, ...".
std::string catalogueSystemNames();

} // namespace erosion_python
