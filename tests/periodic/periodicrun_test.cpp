#include "decimal.h"
#include "periodicrun.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

using namespace periodic;

namespace {

// A run dir's "../output" tree with the two periodic directories, and a way to run the program's
// code on it with a command line given as words.
class PeriodicRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(isothermDir());
        std::filesystem::create_directories(historyDir());
    }

    int run(std::initializer_list<const char*> options)
    {
        std::vector<std::string> words { "periodic_topography" };
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        out.str("");
        err.str("");
        return runPeriodicTopography(
            static_cast<int>(words.size()), argv.data(), output(), out, err);
    }

    std::filesystem::path output() const { return tree.path() / "output"; }
    std::filesystem::path isothermDir() const { return output() / "periodic" / "isotherm"; }
    std::filesystem::path historyDir() const { return output() / "periodic" / "temp_hist"; }

    // The words of a file, and the file's raw text.
    static std::vector<std::string> words(const std::filesystem::path& path)
    {
        std::ifstream stream(path);
        std::vector<std::string> result;
        for (std::string word; stream >> word;) {
            result.push_back(word);
        }
        return result;
    }
    static std::string text(const std::filesystem::path& path)
    {
        std::ifstream stream(path, std::ios::binary);
        std::ostringstream buffer;
        buffer << stream.rdbuf();
        return buffer.str();
    }

    TemporaryDirectory tree;
    std::ostringstream out;
    std::ostringstream err;
};

const char* const isothermFiles[] = { "periodic_topoY.dat", "periodic_geo1.dat",
    "periodic_geo2.dat", "periodic_geo3.dat", "periodic_geo4.dat" };
const char* const historyFiles[]
    = { "periodic_ridge.dat", "periodic_midValley.dat", "periodic_valley.dat" };

} // namespace

TEST_F(PeriodicRun, DefaultsWriteTheEightFilesAsWordPairsWithNothingAfterTheLastWord)
{
    ASSERT_EQ(run({}), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    for (const auto* name : isothermFiles) {
        const auto path = isothermDir() / name;
        const auto w = words(path);
        ASSERT_EQ(w.size(), 2u * 401) << name;
        EXPECT_EQ(w.front(), "-20000") << name;
        EXPECT_EQ(w[2 * 200], "0") << name;
        EXPECT_EQ(w[2 * 400], "20000") << name;
        EXPECT_FALSE(std::isspace(static_cast<unsigned char>(text(path).back()))) << name;
        for (std::size_t i = 2; i < w.size(); i += 2) {
            EXPECT_LT(decimal::toDouble(w[i - 2]), decimal::toDouble(w[i])) << name;
        }
    }
    const auto topography = words(isothermDir() / "periodic_topoY.dat");
    EXPECT_EQ(topography[1], "1000"); // ridge at x = -lambda
    EXPECT_EQ(topography[2 * 100 + 1], "-1000"); // valley at x = -lambda / 2
    for (const auto* name : historyFiles) {
        const auto path = historyDir() / name;
        const auto w = words(path);
        ASSERT_EQ(w.size(), 2u * 401) << name;
        EXPECT_EQ(w.front(), "-20") << name;
        EXPECT_EQ(w[w.size() - 2], "0") << name;
        EXPECT_FALSE(std::isspace(static_cast<unsigned char>(text(path).back()))) << name;
    }
    // Final temperatures: Ts - beta h = -6.5, 0 and 6.5 C (to the 6 digits of the file).
    EXPECT_NEAR(decimal::toDouble(words(historyDir() / "periodic_ridge.dat").back()), -6.5, 1e-5);
    EXPECT_NEAR(
        decimal::toDouble(words(historyDir() / "periodic_midValley.dat").back()), 0.0, 1e-5);
    EXPECT_NEAR(decimal::toDouble(words(historyDir() / "periodic_valley.dat").back()), 6.5, 1e-5);
    EXPECT_NE(out.str().find("harmonics"), std::string::npos) << "the residual is reported";
}

TEST_F(PeriodicRun, OptionsShapeTheProfileAndTheHistories)
{
    ASSERT_EQ(run({ "-w", "10000", "-n", "5", "-o", "4", "-r", "1", "-A", "200" }), 0) << err.str();
    EXPECT_EQ(words(isothermDir() / "periodic_topoY.dat"),
        (std::vector<std::string> {
            "-10000", "200", "-5000", "-200", "0", "200", "5000", "-200", "10000", "200" }));
    const auto ridge = words(historyDir() / "periodic_ridge.dat");
    EXPECT_EQ((std::vector<std::string> { ridge[0], ridge[2], ridge[4], ridge[6], ridge[8] }),
        (std::vector<std::string> { "-4", "-3", "-2", "-1", "0" }));
}

TEST_F(PeriodicRun, IsothermInTheAirIsWrittenAsNaN)
{
    // 0 C: met below the ridges (surface -6.5 C), not below the valleys (surface +6.5 C).
    ASSERT_EQ(run({ "-i", "0", "-n", "9" }), 0) << err.str();
    const auto w = words(isothermDir() / "periodic_geo1.dat");
    ASSERT_EQ(w.size(), 18u);
    EXPECT_NE(w[1], "NaN"); // ridge, x = -lambda
    EXPECT_EQ(w[5], "NaN"); // valley, x = -lambda / 2
    EXPECT_NE(w[9], "NaN"); // ridge, x = 0
    EXPECT_EQ(w[13], "NaN"); // valley, x = lambda / 2
    EXPECT_GT(decimal::toDouble(w[9]), 0.0);
    EXPECT_LT(decimal::toDouble(w[9]), 1000.0);
}

TEST_F(PeriodicRun, UnusableValuesAreRefusedWithoutTouchingAnyFile)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases {
        { { "-r", "0" }, "-r" }, { { "-r", "abc" }, "-r" }, { { "-a", "-1e-6" }, "-a" },
        { { "-z", "0" }, "-z" }, { { "-w", "0" }, "-w" }, { { "-w", "-20000" }, "-w" },
        { { "-A", "-10" }, "-A" }, { { "-z", "900" }, "-z" }, { { "-n", "1" }, "-n" },
        { { "-o", "0" }, "-o" }, { { "-o", "200" }, "-o" }, { { "-b", "1e999" }, "-b" },
        { { "-n", "100001" }, "-n" }, { { "-A", "6000" }, "too steep" }, { { "-L", "-1" }, "-L" },
        { { "-b", "5" }, "raise -b" }, // valleys at 6.5 C
        { { "-T", "1300" }, "raise -b" }, { { "-T", "-274" }, "absolute zero" },
        { { "-b", "-300" }, "absolute zero" }, { { "-k", "-273.2" }, "absolute zero" },
        { { "-L", "300" }, "absolute zero" }, // ridge crests at -300 C
        { { "-w", "1e308" }, "check -w" }, // the series overflows
    };
    std::ofstream(isothermDir() / "periodic_geo1.dat") << "old";
    for (const auto& [options, named] : cases) {
        std::vector<std::string> words { "periodic_topography" };
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& word : words) {
            argv.push_back(word.data());
        }
        err.str("");
        EXPECT_EQ(
            runPeriodicTopography(static_cast<int>(argv.size()), argv.data(), output(), out, err),
            1)
            << options[0] << " " << options[1];
        EXPECT_EQ(err.str().rfind("ERROR: ", 0), 0u) << err.str();
        EXPECT_EQ(err.str().find("ERROR: ", 1), std::string::npos)
            << "prefixed once: " << err.str();
        EXPECT_NE(err.str().find(named), std::string::npos) << err.str();
    }
    EXPECT_EQ(text(isothermDir() / "periodic_geo1.dat"), "old");
    EXPECT_TRUE(std::filesystem::is_empty(historyDir()));
}

// A value must be wholly a number: what the lenient rule would read as 1, 1, 0, 10 or 1 is refused
// with the word as the user typed it, and so is a word that belongs to no option.
TEST_F(PeriodicRun, WordsThatAreNotWhollyANumberAreRefusedAsTyped)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases {
        { { "-A", "1km" }, "ERROR: -A expects a number, got '1km'\n" },
        { { "-T", "1,5" }, "ERROR: -T expects a number, got '1,5'\n" },
        { { "-b", "abc" }, "ERROR: -b expects a number, got 'abc'\n" },
        { { "-w", "nan" }, "ERROR: -w expects a number, got 'nan'\n" },
        { { "-z", "1e400" }, "ERROR: -z expects a number, got '1e400'\n" },
        { { "-r", "0.5", "-i", "" }, "ERROR: -i expects a number, got ''\n" },
        { { "-n", "10.5" }, "ERROR: -n expects a whole number, got '10.5'\n" },
        { { "-n", "1e3" }, "ERROR: -n expects a whole number, got '1e3'\n" },
        { { "-A", "500", "extra" },
            "ERROR: unexpected word 'extra': every value follows its option, as in -A 1000 (-h "
            "lists the options)\n" },
        { { "-A", "5", "00" },
            "ERROR: unexpected word '00': every value follows its option, as in -A 1000 (-h "
            "lists the options)\n" },
        { { "--", "-A", "500" },
            "ERROR: unexpected word '-A': every value follows its option, as in -A 1000 (-h "
            "lists the options)\n" },
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> words { "periodic_topography" };
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& word : words) {
            argv.push_back(word.data());
        }
        err.str("");
        out.str("");
        EXPECT_EQ(
            runPeriodicTopography(static_cast<int>(argv.size()), argv.data(), output(), out, err),
            1)
            << message;
        EXPECT_EQ(err.str(), message);
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(isothermDir()));
    EXPECT_TRUE(std::filesystem::is_empty(historyDir()));
    // The same words written as whole numbers run.
    EXPECT_EQ(run({ "-n", "+11", "-A", "1.0e3", "-T", "-1.5" }), 0) << err.str();
}

// The model's temperatures lie between the ridge crests (-6.5 C) and the base (1250 C): an isotherm
// outside that range is warned about, and exactly those isotherms leave a file of NaN only.
TEST_F(PeriodicRun, IsothermOutsideTheModelIsWarnedAboutAndAllNaN)
{
    for (const char* temp : { "-10", "0", "1249", "1251", "5000" }) {
        SCOPED_TRACE(temp);
        ASSERT_EQ(run({ "-i", temp, "-n", "9" }), 0) << err.str();
        const auto w = words(isothermDir() / "periodic_geo1.dat");
        bool allNaN = true;
        for (std::size_t i = 1; i < w.size(); i += 2) {
            allNaN = allNaN && w[i] == "NaN";
        }
        const bool warned = !err.str().empty();
        EXPECT_EQ(warned, allNaN) << err.str();
        if (warned) {
            EXPECT_EQ(err.str(),
                std::string("WARNING: isotherm 1 (-i ") + temp
                    + " C) lies outside the model's temperatures, -6.5 to 1250 C: its file holds "
                      "only NaN\n");
        }
    }
}

// A base just below the valley floors limits the fit, not the relief: the refusal names the
// surface misfit and a deeper base, and with that base the same run is accepted.
TEST_F(PeriodicRun, BaseCloseBelowTheValleysIsRefusedWithABaseThatFits)
{
    ASSERT_EQ(run({ "-A", "1000", "-z", "1001", "-o", "0.001", "-n", "5" }), 1);
    const std::string message = err.str();
    EXPECT_NE(message.find("surface misfit"), std::string::npos) << message;
    EXPECT_EQ(message.find("wavelength"), std::string::npos) << message;
    const std::string hint = "deepen it (-z ";
    const auto at = message.find(hint);
    ASSERT_NE(at, std::string::npos) << message;
    const std::string deeper = message.substr(
        at + hint.size(), message.find(' ', at + hint.size()) - (at + hint.size()));
    EXPECT_GT(decimal::toDouble(deeper), 1001.0);
    EXPECT_EQ(run({ "-A", "1000", "-z", deeper.c_str(), "-o", "0.001", "-n", "5" }), 0)
        << err.str();

    ASSERT_EQ(run({ "-A", "6000" }), 1);
    EXPECT_NE(err.str().find("too steep"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("-z"), std::string::npos) << err.str();
}

TEST_F(PeriodicRun, MissingDirectoryIsReportedBeforeAnyFileIsWritten)
{
    std::filesystem::remove(historyDir());
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(
        err.str().rfind("ERROR: Could not open file(s) for output; do the directories exist?", 0),
        0u)
        << err.str();
    EXPECT_NE(err.str().find("temp_hist"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(isothermDir()));
}

TEST_F(PeriodicRun, HelpVersionAndBadOptionsEndTheRun)
{
    EXPECT_EQ(run({ "-h" }), 0);
    EXPECT_EQ(out.str().rfind("2D Periodic Topography Steady-State Calculation\nUsage: "
                              "periodic_topography [OPTION]...",
                  0),
        0u);
    EXPECT_NE(out.str().find("-A   relief amplitude (meters)\n"), std::string::npos);
    EXPECT_EQ(run({ "-v" }), 0);
    EXPECT_EQ(out.str(), "2D Periodic Topography Steady-State Calculation - v1.0\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(run({ "-x" }), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
        "Error in argument 1, char 2: option not found x\n");
    EXPECT_EQ(err.str(), "Try `periodic_topography -h' for more information.\n");
    EXPECT_TRUE(std::filesystem::is_empty(isothermDir()));
}
