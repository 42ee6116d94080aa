#include "paths.h"
#include "predict.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace thermochron;

TEST(Systems, NamesReadBackAndOnlyExactNamesParse)
{
    for (const System system : allSystems)
        EXPECT_EQ(parseSystem(systemName(system)), system);
    for (const char* wrong : { "ahe", "AHE", " AHe", "AHe ", "", "ZrHe" })
        EXPECT_FALSE(parseSystem(wrong).has_value()) << wrong;
}

// Dodson for every system; the kinetic method only where a kinetic model exists.
TEST(PredictAge, DispatchesEachSupportedMethodAndRefusesTheRest)
{
    const CoolingPath path = testpaths::steadyCooling(30, 300, 0);
    const Method methods[] = { Method::Dodson, Method::Diffusion, Method::Annealing };
    for (const System system : allSystems) {
        for (const Method method : methods) {
            const bool expected = method == Method::Dodson || kineticMethod(system) == method;
            EXPECT_EQ(supports(system, method), expected);
            if (expected)
                EXPECT_GT(predictAge(path, system, method, Grain {}).ageMa, 0.0);
            else
                EXPECT_THROW(predictAge(path, system, method, Grain {}), std::invalid_argument);
        }
    }
    EXPECT_EQ(kineticMethod(System::AHe), Method::Diffusion);
    EXPECT_EQ(kineticMethod(System::ZHe), Method::Diffusion);
    EXPECT_EQ(kineticMethod(System::AFT), Method::Annealing);
}
