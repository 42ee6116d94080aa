// The messages built from the catalogue of systems and kinetics: every name the catalogue holds
// appears where it belongs, and only there.

#include "agesettings.h"
#include "inputerror.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using thermochron::System;

std::string refusal(const std::function<void()>& parse)
{
    try {
        parse();
    } catch (const ages::InputError& error) {
        return error.what();
    }
    return "accepted";
}

bool names(const std::string& text, std::string_view name)
{
    return text.find(name) != std::string::npos;
}

TEST(CatalogueText, MessagesNameWhatTheCatalogueHolds)
{
    ages::AgeSettings kineticOnly;
    kineticOnly.systems = { System::ZFT };
    kineticOnly.methods = ages::MethodChoice::kinetic;
    const std::string unknownSystem = refusal([] { ages::parseSystems("AHe,UPb"); });
    const std::string noKineticModel = *ages::settingsError(kineticOnly);
    const std::string apatiteChoice = refusal([] { ages::parseKineticsOf(System::AHe, "damage"); });
    for (const thermochron::SystemEntry& entry : thermochron::systemCatalogue) {
        EXPECT_TRUE(names(unknownSystem, entry.name)) << entry.name;
        EXPECT_EQ(
            names(noKineticModel, entry.name), ages::programKineticMethod(entry.system).has_value())
            << entry.name;
    }
    for (const thermochron::KineticsEntry& entry : thermochron::kineticsCatalogue)
        EXPECT_EQ(names(apatiteChoice, entry.name), entry.system == System::AHe) << entry.name;
}

} // namespace
