#pragma once
// Texts built from the catalogue of systems and kinetics (thermochron/catalogue.h): the lists of
// names, minerals, methods and kinetics that the options, their help and the messages of
// cooling_ages show. Nothing here names a system or kinetics itself, so a row added to the
// catalogue appears in every one of them.

#include "thermochron/catalogue.h"
#include "thermochron/system.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// "a", "a or b", "a, b or c" with lastJoin = "or"; empty for no items.
std::string joinedList(const std::vector<std::string>& items, std::string_view lastJoin);

// Every system's name in catalogue order: "AHe, AFT, ZHe, ...".
std::string systemNames();

// The names of systems as --systems takes them: "AHe,AFT,ZHe".
std::string systemList(const std::vector<thermochron::System>& systems);

// Every system with what it dates: "AHe ((U-Th)/He in apatite), AFT (fission tracks in
// apatite), ...".
std::string describedSystems();

// The systems by their kinetic method: "AHe, ZHe, KAr, BAr, MAr and HAr: diffusion; AFT and ZFT:
// annealing".
std::string kineticSystemsText();

// The names of the systems whose kinetic model is method, of any mineral or of one: "AHe, ZHe" for
// diffusion, "AHe" for diffusion in apatite (the systems that read those grain values).
std::string systemNamesByMethod(
    thermochron::Method method, std::optional<thermochron::Mineral> mineral = std::nullopt);

// The names of the kinetics that serve system, in catalogue order: "rdaam or farley".
std::string kineticsNames(thermochron::System system);

// One entry per kinetics of system, each with its description, the default marked:
// "rdaam = radiation damage ... (default); farley = ...".
std::string describedKinetics(thermochron::System system);

} // namespace ages
