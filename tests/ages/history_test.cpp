// cooling_ages history through the whole program: a one-phase history's table against the
// transient model's, the refusals, the fit of the example back to the history it was made with,
// and the files replaced together or not at all.

#include "programtables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using agestest::Finished;
using agestest::readFile;
using agestest::Row;
using agestest::rowsOf;
using agestest::runCoolingAges;

using HistoryCommand = agestest::ScratchDirectoryTest;

const std::string example = std::string(EXAMPLES_DIR) + "/history_ages.csv";

// With one phase, the linear initial geotherm, no heat production and a base so deep that it
// feeds the initial gradient's heat flow (k G = 3 x 0.025 W/m2) unchanged, the column is
// transient_erosion's half-space: its path, and so every age of the table, is the one the
// transient model gives for the rock exposed after as long.
TEST(HistoryTable, OnePhaseGivesTheTransientModelsAges)
{
    const struct {
        const char* rate;
        const char* myr;
    } cases[] = { { "0.5", "10" }, { "1", "8" }, { "0.3", "30" }, { "2", "5" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.rate) + " mm/yr for " + c.myr + " Myr");
        const Finished history = runCoolingAges(
            { "history", "--erosion", std::string(c.myr) + ":" + c.rate, "--initial", "linear",
                "-B", "0.025", "-q", "75", "-z", "150000", "--systems", "AHe,AFT,ZHe,ZFT" });
        const Finished transient = runCoolingAges(
            { "transient", "-r", c.rate, "-o", c.myr, "--systems", "AHe,AFT,ZHe,ZFT" });
        ASSERT_EQ(history.status, 0) << history.err;
        ASSERT_EQ(transient.status, 0) << transient.err;
        EXPECT_EQ(history.out.substr(0, history.out.find('\n')),
            transient.out.substr(0, transient.out.find('\n')));
        const std::vector<Row> ours = rowsOf(history.out);
        const std::vector<Row> theirs = rowsOf(transient.out);
        ASSERT_EQ(ours.size(), theirs.size());
        ASSERT_EQ(ours.size(), 8u); // Dodson and kinetic for each of four systems
        for (std::size_t i = 0; i < ours.size(); ++i) {
            SCOPED_TRACE(ours[i].at("system") + " " + ours[i].at("method"));
            EXPECT_EQ(ours[i].at("system"), theirs[i].at("system"));
            EXPECT_EQ(ours[i].at("method"), theirs[i].at("method"));
            EXPECT_EQ(ours[i].at("reset"), theirs[i].at("reset"));
            EXPECT_EQ(std::stod(ours[i].at("rate_mm_yr")), std::stod(c.rate));
            for (const char* column : { "age_ma", "closure_depth_m" }) {
                const double expected = std::stod(theirs[i].at(column));
                EXPECT_NEAR(std::stod(ours[i].at(column)), expected, 1e-3 * expected) << column;
            }
        }
    }
}

TEST_F(HistoryCommand, RefusesInOneLineWithStatusOneAndWritesNothing)
{
    const std::string samples = write("samples.csv",
        "sample,system,age_ma,sigma_ma\nA,AHe,3,0.3\nA,AFT,5,0.4\nA,ZHe,9,0.6\nA,ZHe,11,0.8\n");
    // The words of a two-phase fit of those samples, followed by more.
    const auto fit = [&](std::vector<std::string> more) {
        std::vector<std::string> words { "--erosion", "20:0.3", "--observed", samples,
            "--fit-phases", "2" };
        words.insert(words.end(), more.begin(), more.end());
        return words;
    };
    const struct {
        std::vector<std::string> words;
        const char* message;
    } cases[] = {
        { { "--erosion", "5:0.6,20:0.3" }, "erosion phase 2 (20:0.3) does not start after" },
        { { "--erosion", "20:0.3,5:0.2/0" }, "erosion phase 2 (5:0.2/0) needs a decay time" },
        { { "--erosion", "20:0.3,5:-1" }, "would have stood 5000 m above the surface at 5 Ma" },
        { { "--erosion", "100:0.6" }, "below the base of the column (-z 50000 m)" },
        { { "--erosion", "20:0.3", "-b", "1300", "-q", "60" }, "-b and -q both set the base" },
        { { "--erosion", "20:0.3", "-H", "2", "--hr", "8000", "--h-depth", "12000" },
            "--hr and --h-depth both shape" },
        { { "--erosion", "20:0.3", "-B", "0.03" }, "add --initial linear" },
        { { "--erosion", "20:0.3", "--fit-phases", "2" }, "--fit-phases needs measured ages" },
        { { "--erosion", "20:0.3", "--rates", "0.1:1" }, "--rates sets up a fit" },
        { fit({ "--change-times", "1:25" }),
            "--change-times MIN:MAX needs 0 < MIN < MAX < the path start (20 Ma)" },
        { fit({ "--change-times", "12:4" }), "--change-times MIN:MAX needs 0 < MIN < MAX" },
        { fit({ "--rates", "1:0.2" }), "--rates MIN:MAX needs 0.0001 <= MIN < MAX <= 100" },
        { fit({ "--rates", "-1:2" }), "--rates MIN:MAX needs 0.0001 <= MIN < MAX <= 100" },
        { fit({ "--rates", "3:5" }), "the slowest history the fit would try" },
        { fit({ "--fit-phases", "4" }), "--fit-phases must be 1, 2 or 3" },
        { fit({ "--fit-phases", "3", "--sampler", "grid" }), "three phases take --sampler mcmc" },
        { fit({ "--steps", "200" }), "--steps sets the ensemble sampler" },
        { fit({ "--sampler", "mcmc", "--steps", "100", "--burn-in", "100" }),
            "the burn-in must leave steps to keep: 100 of 100 steps; lower --burn-in" },
    };
    for (const auto& c : cases) {
        std::vector<std::string> words { "history", "--output", file("ages.csv"), "--path-output",
            file("path.csv") };
        words.insert(words.end(), c.words.begin(), c.words.end());
        SCOPED_TRACE(testing::PrintToString(words));
        const Finished refused = runCoolingAges(words);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err.rfind("ERROR: ", 0), 0u) << refused.err;
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << refused.err;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
        EXPECT_FALSE(fs::exists(file("ages.csv")));
        EXPECT_FALSE(fs::exists(file("path.csv")));
    }
}

// Runs that go ahead but warn: parameters as many as the samples, and predictions that the path
// does not reset (it starts too cold for the zircon to have lost its helium).
TEST_F(HistoryCommand, WarnsOfTooFewSamplesAndOfPredictionsNotReset)
{
    const std::string oneAge = write("one.csv", "sample,system,age_ma,sigma_ma\nA,AHe,3,0.3\n");
    const std::string twoAges
        = write("two.csv", "sample,system,age_ma,sigma_ma\nA,AHe,3,0.3\nA,ZHe,9,0.6\n");
    const struct {
        std::vector<std::string> words;
        const char* warning;
    } cases[] = {
        { { "--erosion", "20:0.3", "--observed", oneAge, "--fit-phases", "1" },
            "warning: 1 parameter for 1 sample" },
        // The ZHe age is older than the path, left out of chi2 and named apart.
        { { "--erosion", "4:0.3", "--observed", twoAges },
            "warning: the path of the history 4:0.300 does not reset A AHe (line 2): " },
        { { "--erosion", "20:0.3", "--observed", twoAges }, nullptr },
    };
    for (const auto& c : cases) {
        std::vector<std::string> words { "history", "--output", file("ages.csv") };
        words.insert(words.end(), c.words.begin(), c.words.end());
        SCOPED_TRACE(testing::PrintToString(words));
        const Finished warned = runCoolingAges(words);
        EXPECT_EQ(warned.status, 0) << warned.err;
        if (c.warning)
            EXPECT_NE(warned.err.find(c.warning), std::string::npos) << warned.err;
        else
            EXPECT_EQ(warned.err.find("warning"), std::string::npos) << warned.err;
    }
}

// The example was made by the suite's model under 30:0.1,8:0.8 with noise: no constant rate
// explains it, and two phases do, with the change time's range holding 8 Ma.
TEST_F(HistoryCommand, FitsTheExampleByTwoPhasesAndFindsItsChangeTime)
{
    const std::regex summary(
        R"(best history: ([0-9.:,]+), chi2 ([0-9.]+), reduced chi2 ([0-9.]+)\n)");
    const std::regex range(R"(change time 1: ([0-9.]+) Ma, range ([0-9.]+) to ([0-9.]+) Ma)");
    const struct {
        const char* phases;
        double lowestReducedChi2;
        double highestReducedChi2;
    } cases[] = { { "1", 5, 1e9 }, { "2", 0, 2 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.phases) + " phases");
        const Finished fit = runCoolingAges(
            { "history", "--erosion", "30:0.1", "--observed", example, "--fit-phases", c.phases,
                "--output", file("ages.csv"), "--profile-output", file("profile.csv") });
        ASSERT_EQ(fit.status, 0) << fit.err;
        std::smatch best;
        ASSERT_TRUE(std::regex_search(fit.err, best, summary)) << fit.err;
        EXPECT_GE(std::stod(best[3]), c.lowestReducedChi2);
        EXPECT_LE(std::stod(best[3]), c.highestReducedChi2);
        std::smatch changeTime;
        if (std::string(c.phases) == "1") {
            EXPECT_FALSE(std::regex_search(fit.err, changeTime, range));
            continue;
        }
        ASSERT_TRUE(std::regex_search(fit.err, changeTime, range)) << fit.err;
        EXPECT_LE(std::stod(changeTime[2]), 8.0);
        EXPECT_GE(std::stod(changeTime[3]), 8.0);
        EXPECT_NE(readFile(file("profile.csv")).find("change,change_time_ma,chi2,chi2_level\n1,"),
            std::string::npos);
    }
}

// A file that cannot be written (here /dev/full, a device that is always full) leaves every other
// file of the run as it was; a run that can write them all replaces them all, with no temporary
// left beside them.
TEST_F(HistoryCommand, ReplacesItsFilesTogetherOrNotAtAll)
{
    const std::string samples
        = write("samples.csv", "sample,system,age_ma,sigma_ma\nA,AHe,3,0.3\nA,ZHe,9,0.6\n");
    const std::string table = write("ages.csv", "old table\n");
    const std::string path = write("path.csv", "old path\n");
    const auto words = [&](const std::string& residuals) {
        return std::vector<std::string> { "history", "--erosion", "20:0.3", "--observed", samples,
            "--output", table, "--path-output", path, "--residuals", residuals };
    };

    const Finished failed = runCoolingAges(words("/dev/full"));
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("ERROR: cannot write /dev/full"), std::string::npos) << failed.err;
    EXPECT_EQ(readFile(table), "old table\n");
    EXPECT_EQ(readFile(path), "old path\n");

    const Finished written = runCoolingAges(words(file("residuals.csv")));
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(readFile(table).rfind("rate_mm_yr,", 0), 0u);
    EXPECT_EQ(readFile(path).rfind("time_ma,temperature_c,depth_m\n20,", 0), 0u);
    EXPECT_EQ(readFile(file("residuals.csv")).rfind("sample,system,method,", 0), 0u);
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_EQ(entry.path().extension(), ".csv") << entry.path();
}

} // namespace

// An age older than the path can only be a lower bound of it: left out of chi2 and named unless
// --keep-unreset keeps it, so the misfit without it is the misfit of the file without its row.
// The summary says what the answer rests on, and the reader names the columns it ignored.
TEST_F(HistoryCommand, LeavesAgesOlderThanThePathOutAndSaysWhatItAssumed)
{
    const std::string header = "sample,system,age_ma,sigma_ma,notes\n";
    const std::string young = write("young.csv", header + "A,AHe,3,0.3,ok\nA,AFT,6,0.6,ok\n");
    const std::string withOld = write(
        "old.csv", header + "A,AHe,3,0.3,ok\nA,AFT,6,0.6,ok\nA,ZFT,150,10,Cretaceous\n");
    const auto chi2Of = [](const std::string& err) {
        const std::smatch found = [&] {
            std::smatch m;
            std::regex_search(err, m, std::regex("chi2 ([0-9.]+) for the history"));
            return m;
        }();
        return found.empty() ? -1.0 : std::stod(found[1]);
    };
    const auto run = [&](const std::string& observed, const bool keep) {
        std::vector<std::string> words { "history", "--output", file("ages.csv"), "--erosion",
            "20:0.3", "--observed", observed, "--residuals", file("residuals.csv") };
        if (keep)
            words.push_back("--keep-unreset");
        return runCoolingAges(words);
    };
    const Finished alone = run(young, false);
    const Finished left = run(withOld, false);
    ASSERT_EQ(left.status, 0) << left.err;
    const std::vector<Row> residuals = rowsOf(readFile(file("residuals.csv")));
    const Finished kept = run(withOld, true);
    ASSERT_EQ(alone.status, 0) << alone.err;
    ASSERT_EQ(kept.status, 0) << kept.err;

    EXPECT_GT(chi2Of(alone.err), 0);
    EXPECT_DOUBLE_EQ(chi2Of(left.err), chi2Of(alone.err)) << left.err;
    EXPECT_GT(chi2Of(kept.err), chi2Of(alone.err) + 100) << kept.err;
    EXPECT_NE(left.err.find("warning: 1 of 3 measured ages are older than the path (from 20 Ma) "
                            "and are left out of chi2"),
        std::string::npos)
        << left.err;
    EXPECT_NE(left.err.find("A (ZFT 150 Ma)"), std::string::npos) << left.err;
    EXPECT_EQ(kept.err.find("left out of chi2"), std::string::npos) << kept.err;
    ASSERT_EQ(residuals.size(), 3u);
    EXPECT_EQ(residuals[0].at("in_chi2"), "yes");
    EXPECT_EQ(residuals[2].at("in_chi2"), "no");

    for (const std::string part : { "assumed: surface 0 C, base 1250 C at 50000 m",
             "path start 20 Ma", "kinetics AHe rdaam", "ignored columns: notes" })
        EXPECT_NE(alone.err.find(part), std::string::npos) << part << "\n" << alone.err;
}

namespace {

// The best history line of a fit's summary.
std::string bestHistoryLine(const std::string& err)
{
    const auto start = err.find("best history: ");
    return start == std::string::npos ? std::string()
                                      : err.substr(start, err.find('\n', start) - start);
}

// A vertical profile: the samples at the mean elevation are the one rock of a file without
// elevations; elevations need --mean-elevation; the fitted base writes its column in the misfit
// map and names itself in the assumed: line; the geotherm file is the column today.
TEST_F(HistoryCommand, PlacesAProfilesSamplesAtTheirHeightsAndFitsTheBase)
{
    const std::string plain = write("plain.csv",
        "sample,system,age_ma,sigma_ma\nA,AHe,4,0.4\nA,AFT,9,0.9\nB,AHe,5,0.5\nB,ZHe,14,1.4\n");
    const std::string level = write("level.csv",
        "sample,system,age_ma,sigma_ma,elevation_m\nA,AHe,4,0.4,1800\nA,AFT,9,0.9,1800\n"
        "B,AHe,5,0.5,1800\nB,ZHe,14,1.4,1800\n");
    const std::vector<std::string> fit { "history", "--erosion", "30:0.1", "--fit-phases", "1",
        "--output", file("ages.csv") };
    const auto run = [&](std::vector<std::string> more) {
        std::vector<std::string> words = fit;
        words.insert(words.end(), more.begin(), more.end());
        return runCoolingAges(words);
    };
    const Finished oneRock = run({ "--observed", plain });
    const Finished atMean = run({ "--observed", level, "--mean-elevation", "1800" });
    ASSERT_EQ(oneRock.status, 0) << oneRock.err;
    ASSERT_EQ(atMean.status, 0) << atMean.err;
    EXPECT_FALSE(bestHistoryLine(oneRock.err).empty());
    EXPECT_EQ(bestHistoryLine(atMean.err), bestHistoryLine(oneRock.err));
    EXPECT_NE(oneRock.err.find("every sample at the surface"), std::string::npos);

    const Finished unplaced = run({ "--observed", level });
    EXPECT_EQ(unplaced.status, 1);
    EXPECT_NE(unplaced.err.find("ERROR: the samples carry elevations (elevation_m, line 2): give "
                                "--mean-elevation M"),
        std::string::npos)
        << unplaced.err;

    const Finished base = run({ "--observed", level, "--mean-elevation", "1500", "--fit-base",
        "900:1500", "--fit-output", file("map.csv"), "--geotherm-output", file("geotherm.csv") });
    ASSERT_EQ(base.status, 0) << base.err;
    EXPECT_NE(
        base.err.find("base fitted, 900 to 1500 C at 50000 m (--fit-base)"), std::string::npos)
        << base.err;
    EXPECT_NE(base.err.find("\nbase_temperature_c: "), std::string::npos) << base.err;
    EXPECT_NE(base.err.find("surface heat flow today: "), std::string::npos) << base.err;
    const auto map = rowsOf(readFile(file("map.csv")));
    EXPECT_EQ(map.size(), 100u * 7u);
    EXPECT_TRUE(map.front().count("base_temperature_c") && map.front().count("rate_1_mm_yr"));
    const std::string geotherm = readFile(file("geotherm.csv"));
    EXPECT_EQ(geotherm.rfind("depth_m,temperature_c\n0,0\n", 0), 0u) << geotherm.substr(0, 40);

    const Finished needsFit = runCoolingAges(
        { "history", "--erosion", "30:0.1", "--fit-base", "900:1500", "--output", file("a.csv") });
    EXPECT_EQ(needsFit.status, 1);
    EXPECT_NE(needsFit.err.find("--fit-base sets up a fit"), std::string::npos) << needsFit.err;
}

} // namespace

namespace {

// The synthetic profile of examples/ (eight heights, AHe and AFT, made by the model under
// 30:0.1,8:0.5 with noise of 5 %, and a borehole temperature and heat flow) gives its change time
// back within the range, and its rates near those it was made with.
TEST_F(HistoryCommand, FitsTheSyntheticProfileBackToItsHistory)
{
    const Finished fit = runCoolingAges({ "history", "--erosion", "30:0.1", "--observed",
        std::string(EXAMPLES_DIR) + "/profile_ages.csv", "--mean-elevation", "1500", "--fit-phases",
        "2", "--output", file("ages.csv") });
    ASSERT_EQ(fit.status, 0) << fit.err;
    std::smatch best, range;
    ASSERT_TRUE(std::regex_search(
        fit.err, best, std::regex(R"(best history: 30:([0-9.]+),([0-9.]+):([0-9.]+),)")))
        << fit.err;
    ASSERT_TRUE(std::regex_search(fit.err, range,
        std::regex(R"(change time 1: [0-9.]+ Ma, range ([0-9.]+) to ([0-9.]+) Ma)")))
        << fit.err;
    EXPECT_LE(std::stod(range[1]), 8.0);
    EXPECT_GE(std::stod(range[2]), 8.0);
    EXPECT_NEAR(std::stod(best[1]), 0.1, 0.03);
    EXPECT_NEAR(std::stod(best[3]), 0.5, 0.05);
    EXPECT_NE(fit.err.find("temperature at 2000 m: measured"), std::string::npos) << fit.err;
}

} // namespace
