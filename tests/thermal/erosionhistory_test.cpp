#include "erosionhistory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace thermal;

namespace {

std::string refusal(const std::string& text)
{
    try {
        parseErosionHistory(text);
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return "accepted";
}

} // namespace

TEST(ErosionHistory, ReadsPhasesOldestFirst)
{
    const ErosionHistory history = parseErosionHistory("20:0.3,5.5:6e-1,1:2");
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].startMa, 20.0);
    EXPECT_EQ(history[0].rateMmYr, 0.3);
    EXPECT_EQ(history[1].startMa, 5.5);
    EXPECT_EQ(history[1].rateMmYr, 0.6);
    EXPECT_EQ(history[2].startMa, 1.0);
    EXPECT_EQ(history[2].rateMmYr, 2.0);
}

TEST(ErosionHistory, RefusesInOneLineNamingThePhase)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        { "", "erosion history is empty: give its phases as START:RATE" },
        { "20", "erosion phase 1 '20' is not START:RATE" },
        { "20:0.3:1", "erosion phase 1 '20:0.3:1' is not START:RATE" },
        { "20:0.3,", "erosion phase 2 '' is not START:RATE" },
        { "2O:0.3", "erosion phase 1 '2O:0.3': the start '2O' is not a number" },
        { "20:0.3,5:0.6x", "erosion phase 2 '5:0.6x': the rate '0.6x' is not a number" },
        { "20:0.3, 5:0.6", "the start ' 5' is not a number" },
        { "5:0.3,20:0.6", "erosion phase 2 (20:0.6) does not start after erosion phase 1 (5:0.3)" },
        { "5:0.3,5:0.6", "does not start after" },
        { "20:0.3,5:-0.6", "would have stood 3000 m above the surface at 5 Ma: burial" },
        // Depth 0 at both ends, 1500 m above the surface where the ramp's rate changes sign.
        { "20:0.3~-0.3", "would have stood 1500 m above the surface at 10 Ma" },
        { "20:0.3,5:0.6~x", "erosion phase 2 '5:0.6~x': the end rate 'x' is not a number" },
        { "20:0.3,5:0.6/0", "erosion phase 2 (5:0.6/0) needs a decay time TAU above 0 Myr" },
        { "20:0.3,0:0.6", "erosion phase 2 (0:0.6) must start before present" },
        { "5000:0.01", "starts before the Earth formed: START is at most 4567 Ma" },
    };
    for (const auto& c : cases) {
        const std::string message = refusal(c.text);
        EXPECT_NE(message.find(c.message), std::string::npos) << c.text << " -> " << message;
        EXPECT_EQ(message.find('\n'), std::string::npos);
    }
}

TEST(ErosionHistory, WritesTheSyntaxItReads)
{
    const ErosionHistory fitted { { 20.0, 0.3 }, { 5.5, 0.57 } };
    EXPECT_EQ(formatErosionHistory(fitted, 2, 3), "20:0.300,5.50:0.570");
    EXPECT_EQ(formatErosionHistory({ { 20.26, 1.0 } }, 1, 1), "20.3:1.0"); // rounded
    const ErosionHistory back = parseErosionHistory(formatErosionHistory(fitted, 2, 3));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].startMa, 5.5);
    EXPECT_EQ(back[1].rateMmYr, 0.57);
}

TEST(ErosionHistory, ExhumationIsTheIntegralOfTheRate)
{
    const ErosionHistory history { { 20.0, 0.3 }, { 5.0, 0.6 } };
    const struct {
        double timeMa, depthM;
    } cases[] = { { 0.0, 0.0 }, { 2.5, 1500.0 }, { 5.0, 3000.0 }, { 10.0, 4500.0 },
        { 20.0, 7500.0 }, { 30.0, 7500.0 } };
    for (const auto& c : cases)
        EXPECT_NEAR(exhumationSinceM(history, c.timeMa), c.depthM, 1e-9) << c.timeMa;
}

TEST(ErosionHistory, RampsAndDecaysReadWriteAndIntegrateInClosedForm)
{
    const ErosionHistory history = parseErosionHistory("30:0.2,20:0.1~0.5,10:0,6:-0.1,4:0.9/2");
    ASSERT_EQ(history.size(), 5u);
    EXPECT_EQ(history[1].shape, PhaseShape::Ramp);
    EXPECT_EQ(history[1].endRateMmYr, 0.5);
    EXPECT_EQ(history[4].shape, PhaseShape::Decay);
    EXPECT_EQ(history[4].decayMyr, 2.0);
    EXPECT_EQ(formatErosionHistory(history, 1, 2),
        "30:0.20,20.0:0.10~0.50,10.0:0.00,6.0:-0.10,4.0:0.90/2");
    // Each phase's erosion by hand: the decay 0.9 x 2 x (1 - e^-2) Myr mm/yr, burial 0.2 km,
    // the pause none, the ramp's mean 0.3 over 10 Myr, 0.2 over 10 Myr.
    const double decayM = 0.9 * 2.0 * (1.0 - std::exp(-2.0)) * 1000.0;
    const struct {
        double timeMa, depthM;
    } cases[] = { { 4.0, decayM }, { 5.0, decayM - 100.0 }, { 6.0, decayM - 200.0 },
        { 10.0, decayM - 200.0 }, { 15.0, decayM - 200.0 + (0.5 + 0.3) / 2 * 5000.0 },
        { 20.0, decayM - 200.0 + 3000.0 }, { 30.0, decayM - 200.0 + 3000.0 + 2000.0 } };
    for (const auto& c : cases)
        EXPECT_NEAR(exhumationSinceM(history, c.timeMa), c.depthM, 1e-9) << c.timeMa;
    EXPECT_NEAR(rateAtMa(history, 15.0), 0.3, 1e-12);
    EXPECT_NEAR(rateAtMa(history, 2.0), 0.9 * std::exp(-1.0), 1e-12);
    EXPECT_NEAR(rateAtMa(history, 0.0), 0.9 * std::exp(-2.0), 1e-12);
}
