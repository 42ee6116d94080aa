// The options and messages built from the catalogue of systems and kinetics: every name the
// catalogue holds appears where it belongs, and only there.

#include "agesettings.h"
#include "cataloguetext.h"
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

TEST(CatalogueText, JoinsListsAsASentenceDoes)
{
    const struct {
        std::vector<std::string> items;
        const char* text;
    } cases[] = {
        { {}, "" },
        { { "AHe" }, "AHe" },
        { { "AHe", "ZHe" }, "AHe or ZHe" },
        { { "AHe", "AFT", "ZHe" }, "AHe, AFT or ZHe" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ages::joinedList(c.items, "or"), c.text);
}

TEST(CatalogueText, MessagesNameWhatTheCatalogueHolds)
{
    ages::AgeSettings kineticOnly;
    kineticOnly.systems = { System::ZFT };
    kineticOnly.methods = ages::MethodChoice::kinetic;
    const std::string unknownSystem = refusal([] { ages::parseSystems("AHe,UPb"); });
    const std::string noKineticModel = *ages::settingsError(kineticOnly);
    const std::string apatiteChoice
        = refusal([] { ages::parseKineticsOf(System::AHe, "damage"); });
    for (const thermochron::SystemEntry& entry : thermochron::systemCatalogue) {
        EXPECT_TRUE(names(unknownSystem, entry.name)) << entry.name;
        EXPECT_EQ(names(noKineticModel, entry.name), entry.kineticMethod.has_value())
            << entry.name;
    }
    for (const thermochron::KineticsEntry& entry : thermochron::kineticsCatalogue)
        EXPECT_EQ(names(apatiteChoice, entry.name), entry.system == System::AHe) << entry.name;
}

TEST(CatalogueText, SystemsAndKineticsAreTakenInAnyCase)
{
    EXPECT_EQ(ages::parseSystems("ahe,ZHE,AHe"), (std::vector { System::AHe, System::ZHe }));
    EXPECT_EQ(ages::parseKineticsOf(System::ZHe, "ReInErS"), thermochron::Kinetics::Reiners);
    // Kinetics of another system are refused by their option, naming the system they serve.
    EXPECT_EQ(refusal([] { ages::parseKineticsOf(System::AHe, "zrdaam"); }),
        "--apatite-kinetics: zrdaam serves ZHe, not AHe (choose rdaam or farley)");
}

} // namespace
