#include "commandline.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using erosion::CommandLine;

namespace {

CommandLine read(std::vector<std::string> words)
{
    words.insert(words.begin(), "transient_erosion");
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return erosion::readCommandLine(static_cast<int>(words.size()), argv.data());
}

} // namespace

TEST(CommandLine, NoOptionsKeepTheDefaults)
{
    const auto line = read({});
    ASSERT_EQ(line.action, CommandLine::Action::run);
    const auto& p = line.parameters;
    EXPECT_EQ(p.surfaceTemp, 0.0);
    EXPECT_EQ(p.basalGradient, 0.025);
    EXPECT_EQ(p.maxDepth, 50000.0);
    EXPECT_EQ(p.diffusivity, 1.3636e-6);
    EXPECT_EQ(p.erosionRate, 0.5);
    EXPECT_EQ(p.erosionVelocity, -1.5854895991882293e-11);
    EXPECT_EQ(p.historyTime, 10.0);
    EXPECT_EQ(p.geothermTime, (std::array { 0.0, 1.5768e14, 3.1536e14, 4.7304e14 }));
    EXPECT_EQ(p.isothermTemp, (std::array { 60.0, 120.0, 250.0, 350.0 }));
}

TEST(CommandLine, EachOptionStoresItsConvertedValue)
{
    const auto line = read(
        { "-T", "10", "-B", "0.03", "-z", "30000", "-a", "1e-6", "-r", "2", "-d", "1", "-e", "2.5",
            "-f", "3", "-g", "4", "-i", "50", "-j", "100", "-k", "200", "-l", "300", "-o", "7" });
    ASSERT_EQ(line.action, CommandLine::Action::run);
    const auto& p = line.parameters;
    EXPECT_EQ(p.surfaceTemp, 10.0);
    EXPECT_EQ(p.basalGradient, 0.03);
    EXPECT_EQ(p.maxDepth, 30000.0);
    EXPECT_EQ(p.diffusivity, 1e-6);
    EXPECT_EQ(p.erosionRate, 2.0);
    EXPECT_EQ(p.erosionVelocity, -2.0 / 3.1536e10);
    EXPECT_EQ(
        p.geothermTime, (std::array { 3.1536e13, 2.5 * 3.1536e13, 3 * 3.1536e13, 4 * 3.1536e13 }));
    EXPECT_EQ(p.isothermTemp, (std::array { 50.0, 100.0, 200.0, 300.0 }));
    EXPECT_EQ(p.historyTime, 7.0);
}

TEST(CommandLine, HistoryTimeIsRoundedHalvesAwayFromZero)
{
    EXPECT_EQ(read({ "-o", "2.5" }).parameters.historyTime, 3.0);
    EXPECT_EQ(read({ "-o", "2.4" }).parameters.historyTime, 2.0);
    EXPECT_EQ(read({ "-o", "-2.5" }).parameters.historyTime, -3.0);
}

TEST(CommandLine, LastOccurrenceWinsAndTextWithoutANumberIsZero)
{
    EXPECT_EQ(read({ "-i", "100", "-i", "200" }).parameters.isothermTemp[0], 200.0);
    const auto p = read({ "-r", "nan", "-T", "12abc" }).parameters;
    EXPECT_EQ(p.erosionRate, 0.0);
    EXPECT_EQ(p.surfaceTemp, 12.0);
}

TEST(CommandLine, ArgumentWordsAreConvertedAsTheScannerTakesThem)
{
    // -z50000 -T 10: maxDepth is the word "-T" read as a number, and the scan stops at 10.
    const auto p = read({ "-z50000", "-T", "10" }).parameters;
    EXPECT_EQ(p.maxDepth, 0.0);
    EXPECT_EQ(p.surfaceTemp, 0.0);
    EXPECT_EQ(read({ "-T", "-5" }).parameters.surfaceTemp, -5.0);
    EXPECT_EQ(read({ "--", "-z", "100" }).parameters.maxDepth, 50000.0);
}

TEST(CommandLine, FirstHelpVersionOrErrorDecides)
{
    EXPECT_EQ(read({ "-hz", "5" }).action, CommandLine::Action::help);
    EXPECT_EQ(read({ "-v", "-x" }).action, CommandLine::Action::version);
    EXPECT_EQ(read({ "-h", "-x" }).action, CommandLine::Action::help);
    testing::internal::CaptureStderr();
    EXPECT_EQ(read({ "-x", "-h" }).action, CommandLine::Action::badOption);
    EXPECT_EQ(read({ "-z" }).action, CommandLine::Action::badOption);
    testing::internal::GetCapturedStderr();
}

TEST(CommandLine, ScanningTwiceStartsAfresh)
{
    testing::internal::CaptureStderr();
    read({ "-xh" }); // leaves the scanner inside its word
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(read({ "-T", "3" }).parameters.surfaceTemp, 3.0);
}
