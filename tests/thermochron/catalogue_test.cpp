#include "catalogue.h"

#include <gtest/gtest.h>

#include <string>

using namespace thermochron;

TEST(Catalogue, NamesReadBackInAnyCaseWhereAnyCaseIsAsked)
{
    const auto upper = [](std::string_view name) {
        std::string text(name);
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    };
    for (const SystemEntry& entry : systemCatalogue)
        EXPECT_EQ(parseSystemIgnoringCase(upper(entry.name)), entry.system) << entry.name;
    for (const KineticsEntry& entry : kineticsCatalogue) {
        EXPECT_EQ(parseKinetics(kineticsName(entry.kinetics)), entry.kinetics);
        EXPECT_EQ(parseKinetics(upper(entry.name)), entry.kinetics);
    }
    for (const char* wrong : { "", "AHe ", "rdaam2", "ketcham" }) {
        EXPECT_FALSE(parseSystemIgnoringCase(wrong).has_value()) << wrong;
        EXPECT_FALSE(parseKinetics(wrong).has_value()) << wrong;
    }
}

// Every system with a kinetic method has kinetics of that method and exactly one default among
// them; the others have none. Damage kinetics are the (U-Th)/He defaults.
TEST(Catalogue, EveryKineticSystemHasOneDefaultOfItsMethod)
{
    for (const SystemEntry& system : systemCatalogue) {
        int serving = 0, defaults = 0;
        for (const KineticsEntry& kinetics : kineticsCatalogue) {
            if (kinetics.system != system.system)
                continue;
            EXPECT_EQ(kinetics.method, system.kineticMethod) << kinetics.name;
            ++serving;
            defaults += kinetics.isDefault;
        }
        EXPECT_EQ(defaults, system.kineticMethod ? 1 : 0) << system.name;
        EXPECT_EQ(serving > 0, system.kineticMethod.has_value()) << system.name;
    }
    EXPECT_EQ(defaultKinetics(System::AHe), Kinetics::Rdaam);
    EXPECT_EQ(defaultKinetics(System::ZHe), Kinetics::Zrdaam);
    EXPECT_EQ(defaultKinetics(System::AFT), Kinetics::Ketcham2007);
    EXPECT_EQ(defaultKinetics(System::ZFT), Kinetics::Yamada2007);
}

TEST(Catalogue, KineticsForAnAgeFollowTheChoiceWhereItFits)
{
    struct Case {
        System system;
        Method method;
        KineticsChoice choice;
        std::optional<Kinetics> expected;
    };
    const KineticsChoice older { Kinetics::Farley, Kinetics::Reiners };
    const KineticsChoice swapped { Kinetics::Zrdaam, Kinetics::Rdaam };
    const KineticsChoice fanningZircon { .zirconFissionTrack = Kinetics::Guenthner2013 };
    const Case cases[] = {
        { System::AHe, Method::Diffusion, {}, Kinetics::Rdaam },
        { System::ZHe, Method::Diffusion, {}, Kinetics::Zrdaam },
        { System::AHe, Method::Diffusion, older, Kinetics::Farley },
        { System::ZHe, Method::Diffusion, older, Kinetics::Reiners },
        { System::AFT, Method::Annealing, older, Kinetics::Ketcham2007 },
        { System::MAr, Method::Dodson, older, Kinetics::Dodson },
        { System::AHe, Method::Diffusion, swapped, std::nullopt },
        { System::AHe, Method::Annealing, {}, std::nullopt },
        { System::ZFT, Method::Annealing, {}, Kinetics::Yamada2007 },
        { System::ZFT, Method::Annealing, fanningZircon, Kinetics::Guenthner2013 },
        { System::ZFT, Method::Diffusion, {}, std::nullopt },
        { System::MAr, Method::Diffusion, fanningZircon, Kinetics::Harrison2009 },
        { System::KAr, Method::Diffusion, {}, Kinetics::Lovera1997 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(kineticsFor(c.system, c.method, c.choice), c.expected)
            << systemName(c.system) << " " << methodName(c.method);
}
