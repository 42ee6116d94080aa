// The messages built from the catalogue of systems and kinetics: every name the catalogue holds
// appears where it belongs, and only there.

#include "agesettings.h"
#include "inputerror.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    const std::string unknownSystem = refusal([] { ages::parseSystems("AHe,UPb"); });
    const std::string kineticHelp = ages::methodChoiceHelp();
    const std::string apatiteChoice = refusal([] { ages::parseKineticsOf(System::AHe, "damage"); });
    for (const thermochron::SystemEntry& entry : thermochron::systemCatalogue) {
        EXPECT_TRUE(names(unknownSystem, entry.name)) << entry.name;
        // Every system of the catalogue has its kinetic model in the program.
        EXPECT_TRUE(names(kineticHelp, entry.name)) << entry.name;
    }
    for (const thermochron::KineticsEntry& entry : thermochron::kineticsCatalogue)
        EXPECT_EQ(names(apatiteChoice, entry.name), entry.system == System::AHe) << entry.name;
}

TEST(CatalogueText, EverySystemWithAChoiceOfKineticsHasItsOption)
{
    for (const thermochron::SystemEntry& entry : thermochron::systemCatalogue) {
        int kinetics = 0;
        for (const thermochron::KineticsEntry& k : thermochron::kineticsCatalogue)
            kinetics += k.system == entry.system;
        const bool option = std::ranges::any_of(ages::kineticsOptions,
            [&](const ages::KineticsOption& o) { return o.system == entry.system; });
        EXPECT_EQ(option, kinetics > 1) << entry.name;
    }
    EXPECT_EQ(ages::kineticsOptionName(System::ZFT), "--zircon-ft-kinetics");
    EXPECT_EQ(refusal([] { ages::parseKineticsOf(System::ZFT, "yamada"); }),
        "--zircon-ft-kinetics: unknown kinetics 'yamada' (choose yamada2007 or guenthner2013)");
}

} // namespace
