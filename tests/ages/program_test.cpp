// The built cooling_ages program, run as a user runs it.

#include "childprocess.h"
#include "programtables.h"
#include "transientpath.h"
#include "units.h"

#include "model.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string program = COOLING_AGES_PATH;

// A run that has not ended after this long is taken for a hang.
constexpr auto runTimeLimit = std::chrono::seconds(60);

const std::string header = "rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,raw_age_ma,"
                           "closure_temperature_c,closure_depth_m,reset,mean_track_length_um,"
                           "path_start_ma,kinetics,track_length_sd_um,"
                           "mean_track_length_unprojected_um,track_length_sd_unprojected_um";

using agestest::Finished;
using agestest::readFile;
using agestest::Row;
using agestest::rowsOf;

double number(const Row& row, const std::string& column)
{
    return std::stod(row.at(column));
}

// The program itself, started as a process in the test's directory.
class CoolingAges : public agestest::ScratchDirectoryTest {
protected:
    Finished run(const std::vector<std::string>& args) const
    {
        const pid_t child = startChild(program, args, m_dir, m_dir / "stdout", m_dir / "stderr");
        Finished finished;
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return finished;
        }
        const std::optional<int> ended = waitForChild(child, runTimeLimit);
        if (!ended) {
            ADD_FAILURE() << "cooling_ages did not end within the time limit";
            return finished;
        }
        const int status = *ended;
        finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        finished.out = readFile(m_dir / "stdout");
        finished.err = readFile(m_dir / "stderr");
        return finished;
    }

    // The table of a run that must succeed.
    std::vector<Row> table(const std::vector<std::string>& args) const
    {
        const Finished finished = run(args);
        EXPECT_EQ(finished.status, 0) << finished.err;
        EXPECT_EQ(finished.err, "");
        EXPECT_EQ(finished.out.substr(0, finished.out.find('\n')), header);
        return rowsOf(finished.out);
    }
};

const Row& find(const std::vector<Row>& rows, const std::string& system, const std::string& method,
    const std::string& site = "")
{
    for (const Row& row : rows)
        if (row.at("system") == system && row.at("method") == method && row.at("site") == site)
            return row;
    throw std::runtime_error("no row " + system + " " + method + " " + site);
}

TEST_F(CoolingAges, TransientAgesAgreeWithTheSamePathReadFromAFile)
{
    const std::vector<std::string> model { "-r", "0.7", "-o", "12.5" };
    std::vector<std::string> args { "transient" };
    args.insert(args.end(), model.begin(), model.end());
    args.insert(args.end(), { "--systems", "AHe,AFT" });
    const std::vector<Row> fromModel = table(args);

    // The same rock's path, evaluated here with the solver's closed form at steps of its own
    // (every 0.005 Myr), in the file format a user would write.
    erosion::RunParameters p;
    p.setErosionRate(0.7);
    const double exposure = 12.5;
    std::ofstream file(m_dir / "rock.csv");
    file << "time_ma,temperature_c\n";
    for (int k = 0; k <= 2500; ++k) {
        const double timeMa = exposure * (2500 - k) / 2500;
        const double depth = 0.7 * 1000 * timeMa;
        char line[64];
        std::snprintf(line, sizeof line, "%.9g, %.9g\n", timeMa,
            erosion::transientTemp(p, -depth, (exposure - timeMa) * units::secondsPerMyr));
        file << line;
    }
    file.close();
    const std::vector<Row> fromFile = table({ "path", "rock.csv", "--systems", "AHe,AFT" });

    ASSERT_EQ(fromModel.size(), fromFile.size());
    for (const auto& [system, method] : { std::pair { "AHe", "dodson" }, { "AHe", "diffusion" },
             { "AFT", "dodson" }, { "AFT", "annealing" } }) {
        const Row& a = find(fromModel, system, method);
        const Row& b = find(fromFile, system, method);
        EXPECT_NEAR(number(a, "age_ma"), number(b, "age_ma"), 2e-3 * number(b, "age_ma"))
            << system << " " << method;
        EXPECT_EQ(a.at("reset"), "yes");
        EXPECT_EQ(b.at("reset"), "yes");
        // The model knows the rock's depth: u times the age; a file path does not.
        // (Both columns carry six significant digits.)
        EXPECT_NEAR(number(a, "closure_depth_m"), 700 * number(a, "age_ma"),
            1e-5 * number(a, "closure_depth_m"))
            << system << " " << method;
        EXPECT_EQ(b.at("closure_depth_m"), "");
        EXPECT_EQ(a.at("rate_mm_yr"), "0.7");
        EXPECT_EQ(b.at("rate_mm_yr"), "");
    }
}

TEST_F(CoolingAges, PeriodicValleyAgesAreYoungerThanRidgeAges)
{
    const std::vector<Row> rows = table({ "periodic" }); // every model value at its default
    // Every rock rises at the same rate, so an age is the time a rock took to come up from
    // its closure isotherm, the depth of that isotherm below the rock's surface point divided by
    // the rate. Beneath the topography the isotherms are bent like the surface but less and less
    // with depth (the relief's cosine decays over about a wavelength / 2 pi = 3 km): under the
    // ridge the closure isotherm lies further below the surface than under the valley. The
    // ridge is also colder (lapse rate), which pushes its isotherms down further still. So the
    // ridge rock crossed its closure isotherm longer ago: older ridge, younger valley, for every
    // system whose closure isotherm the 20 Myr paths cross.
    int compared = 0;
    for (const Row& ridge : rows) {
        if (ridge.at("site") != "ridge")
            continue;
        const Row& valley = find(rows, ridge.at("system"), ridge.at("method"), "valley");
        const Row& midSlope = find(rows, ridge.at("system"), ridge.at("method"), "mid_slope");
        if (ridge.at("reset") == "no" || valley.at("reset") == "no")
            continue;
        EXPECT_LT(number(valley, "age_ma"), number(midSlope, "age_ma")) << ridge.at("system");
        EXPECT_LT(number(midSlope, "age_ma"), number(ridge, "age_ma")) << ridge.at("system");
        EXPECT_EQ(number(ridge, "elevation_m"), 1000);
        EXPECT_EQ(number(valley, "elevation_m"), -1000);
        ++compared;
    }
    // Dodson for AHe, AFT, ZHe, ZFT and the kinetic AHe, AFT and ZHe ages; MAr closes near
    // 390 C, deeper than the 10 km paths start: not reset, and Dodson, which has no accumulated
    // age, gives the path's start.
    EXPECT_EQ(compared, 7);
    EXPECT_EQ(find(rows, "MAr", "dodson", "ridge").at("reset"), "no");
    EXPECT_EQ(number(find(rows, "MAr", "dodson", "ridge"), "age_ma"), 20);
    EXPECT_EQ(find(rows, "MAr", "dodson", "ridge").at("path_start_ma"), "20");
}

TEST_F(CoolingAges, KineticsAndSamariumOptionsReachTheAgesAndTheKineticsColumn)
{
    const auto kineticRows = [&](std::vector<std::string> options) {
        options.insert(options.begin(), { "transient", "--systems", "ahe,AFT,zHE" }); // any case
        return table(options);
    };
    const std::vector<Row> defaults = kineticRows({});
    const struct {
        std::vector<std::string> options;
        const char* apatiteHelium; // the kinetics column of the AHe and ZHe kinetic ages
        const char* zirconHelium;
        bool apatiteAgeMoves; // against the default run's
        bool zirconAgeMoves;
    } cases[] = {
        { {}, "rdaam", "zrdaam", false, false },
        { { "--apatite-kinetics", "FARLEY" }, "farley", "zrdaam", true, false },
        { { "--zircon-kinetics", "Reiners" }, "rdaam", "reiners", false, true },
        { { "--sm", "500" }, "rdaam", "zrdaam", true, true },
    };
    for (const auto& c : cases) {
        const std::string context = c.options.empty() ? "defaults" : c.options.front();
        const std::vector<Row> rows = kineticRows(c.options);
        ASSERT_EQ(rows.size(), 6u) << context;
        EXPECT_EQ(find(rows, "AHe", "diffusion").at("kinetics"), c.apatiteHelium) << context;
        EXPECT_EQ(find(rows, "AFT", "annealing").at("kinetics"), "ketcham2007") << context;
        EXPECT_EQ(find(rows, "ZHe", "diffusion").at("kinetics"), c.zirconHelium) << context;
        for (const Row& row : rows) {
            if (row.at("method") == "dodson") {
                EXPECT_EQ(row.at("kinetics"), "dodson") << context;
            }
            EXPECT_EQ(row.at("path_start_ma"), "10") << context; // -o 10: the rock's path
        }
        const auto moved = [&](const char* system, const char* method) {
            return find(rows, system, method).at("age_ma")
                != find(defaults, system, method).at("age_ma");
        };
        EXPECT_EQ(moved("AHe", "diffusion"), c.apatiteAgeMoves) << context;
        EXPECT_EQ(moved("ZHe", "diffusion"), c.zirconAgeMoves) << context;
        EXPECT_FALSE(moved("AFT", "annealing")) << context; // reads no kinetics and no Sm
        EXPECT_FALSE(moved("AHe", "dodson")) << context;
    }
}

TEST_F(CoolingAges, AgeOfAPathThatDoesNotResetIsTheAgeAccumulatedSinceItsStart)
{
    // 100 Myr at 40 C: an apatite keeps most of its helium, so the path does not erase what it
    // held before; the age is what it accumulated in the 100 Myr, a lower bound, and the column
    // beside it says where the accumulation began. Without damage, radius 60 um, U = Th = 10
    // ppm, an independent solution of the same diffusion problem gives 68.3 Ma.
    std::ofstream(m_dir / "hold.csv") << "time_ma,temperature_c\n100,40\n0,40\n";
    const std::vector<Row> rows = table({ "path", "hold.csv", "--systems", "AHe", "--method",
        "kinetic", "--apatite-kinetics", "farley" });
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("reset"), "no");
    EXPECT_EQ(rows[0].at("path_start_ma"), "100");
    EXPECT_NEAR(number(rows[0], "age_ma"), 68.3, 0.1);
}

TEST_F(CoolingAges, TableHasTheColumnsAndFieldsThatApply)
{
    const std::vector<Row> transient = table({ "transient", "--method", "all" });
    // Five systems, each by Dodson and by its kinetic model.
    ASSERT_EQ(transient.size(), 10u);
    for (const Row& row : transient) {
        EXPECT_EQ(row.at("x_m"), "");
        EXPECT_EQ(row.at("elevation_m"), "");
        EXPECT_EQ(row.at("site"), "");
        const std::string& method = row.at("method");
        EXPECT_TRUE(method == "dodson" || method == "diffusion" || method == "annealing");
        EXPECT_TRUE(row.at("reset") == "yes" || row.at("reset") == "no");
        const bool helium = row.at("system") == "AHe" || row.at("system") == "ZHe";
        EXPECT_EQ(row.at("raw_age_ma").empty(), !(helium && method == "diffusion"))
            << row.at("system") << " " << method;
        const bool lengths = row.at("system") == "AFT" && method == "annealing";
        for (const char* column : { "mean_track_length_um", "track_length_sd_um",
                 "mean_track_length_unprojected_um", "track_length_sd_unprojected_um" })
            EXPECT_EQ(row.at(column).empty(), !lengths) << column;
        EXPECT_FALSE(row.at("closure_temperature_c").empty());
    }
    // The He age is published Ft-corrected: the age column is the raw age over Ft < 1.
    const Row& helium = find(transient, "AHe", "diffusion");
    EXPECT_GT(number(helium, "age_ma"), number(helium, "raw_age_ma"));

    const std::vector<Row> dodsonOnly
        = table({ "transient", "--systems", "ZFT,AHe,ZFT", "--method", "dodson" });
    ASSERT_EQ(dodsonOnly.size(), 2u);
    EXPECT_EQ(dodsonOnly[0].at("system"), "ZFT");
    EXPECT_EQ(dodsonOnly[1].at("system"), "AHe");
}

TEST_F(CoolingAges, SweepRowsAreThoseOfSingleRunsInRateOrder)
{
    const std::vector<Row> sweep
        = table({ "transient", "--rates", "0.3:0.9:0.3", "--systems", "AHe,AFT" });
    ASSERT_EQ(sweep.size(), 12u);
    for (int k = 0; k < 3; ++k) {
        const std::string rate = k == 0 ? "0.3" : k == 1 ? "0.6" : "0.9";
        const std::vector<Row> single = table({ "transient", "-r", rate, "--systems", "AHe,AFT" });
        for (std::size_t j = 0; j < single.size(); ++j)
            EXPECT_EQ(sweep[4 * k + j], single[j]) << rate;
    }
    // Faster erosion brings the rock up from its closure depth sooner: younger ages.
    EXPECT_GT(number(sweep[0], "age_ma"), number(sweep[4], "age_ma"));
    EXPECT_GT(number(sweep[4], "age_ma"), number(sweep[8], "age_ma"));
}

TEST_F(CoolingAges, WideTransientSweepRunsWithTheDefaultDepth)
{
    // The closed form has no grid: rates whose 50 km grid would not reach back 20 Myr (above
    // 2.5 mm/yr) are dated like the others.
    const std::vector<Row> rows = table({ "transient", "--rates", "0.1:3:0.02", "-o", "20" });
    ASSERT_EQ(rows.size(), 146u * 10u); // 146 rates, ten ages each
    EXPECT_EQ(rows.back().at("rate_mm_yr"), "3");
    EXPECT_EQ(rows.back().at("reset"), "yes");
}

TEST_F(CoolingAges, OutputFileHoldsTheTableAndNothingGoesToStandardOutput)
{
    const Finished finished = run({ "transient", "--output", "ages.csv" });
    EXPECT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, "");
    const Finished plain = run({ "transient" });
    EXPECT_EQ(readFile(m_dir / "ages.csv"), plain.out);
    for (const auto& entry : fs::directory_iterator(m_dir)) // no temporary left behind
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
}

TEST_F(CoolingAges, BadInputIsOneLineStatusOneAndNoFile)
{
    std::ofstream(m_dir / "short.csv") << "time_ma,temperature_c\n10,100\n";
    std::ofstream(m_dir / "repeat.csv") << "10,100\n5,50\n5,40\n";
    std::ofstream(m_dir / "word.csv") << "10,100\n5,fifty\n";
    std::ofstream(m_dir / "measured.csv")
        << "sample,system,age_ma,sigma_ma\na,AHe,5,0.5\nb,AFT,6,0.5\n"
        << "c,ZHe,9,1\nd,AHe,5.2,0.5\ne,AFT,6.1,0.5\nf,ZHe,9.5,1\n";
    const struct {
        std::vector<std::string> args;
        const char* message; // the start of the line on standard error
    } cases[] = {
        { { "path", "short.csv" }, "ERROR: short.csv: a cooling path needs at least 2 points" },
        { { "path", "repeat.csv" }, "ERROR: repeat.csv line 3: time 5 Ma repeats line 2" },
        { { "path", "word.csv" }, "ERROR: word.csv line 2: 'fifty' is not a number" },
        { { "path", "missing.csv" }, "ERROR: cannot open path file missing.csv" },
        { { "transient", "--systems", "AHe,UPb" }, "ERROR: --systems: unknown system 'UPb'" },
        { { "transient", "--method", "kinetics" }, "ERROR: --method: unknown method 'kinetics'" },
        { { "transient", "--apatite-radius", "10" }, "ERROR: --apatite-radius must be from" },
        { { "periodic", "--zircon-radius", "900" }, "ERROR: --zircon-radius must be from" },
        { { "path", "short.csv", "--dpar", "6" }, "ERROR: --dpar must be from" },
        { { "transient", "--rates", "1:2:0" }, "ERROR: --rates: STEP must be greater than 0" },
        { { "transient", "--rates", "2:1:0.5" }, "ERROR: --rates: START must not exceed STOP" },
        { { "periodic", "--rates", "1:2:-1" }, "ERROR: --rates: STEP must be greater than 0" },
        { { "transient", "--rates", "1:2" }, "ERROR: --rates expects START:STOP:STEP" },
        { { "periodic", "-A", "1km" }, "ERROR: -A expects a number, got '1km'" },
        { { "transient", "--u", "ten" }, "ERROR: --u expects a number, got 'ten'" },
        { { "transient", "--u", "0", "--th", "0" }, "ERROR: --u, --th and --sm are all 0 ppm" },
        // Values beyond anything physical or any machine's means, refused before any work.
        { { "transient", "--u", "2e6" }, "ERROR: --u must be from 0 to 1e+06 ppm (got 2e+06)" },
        { { "transient", "--u", "1e-320", "--th", "0" },
            "ERROR: --u, --th and --sm give an eU below 1e-06 ppm" },
        { { "transient", "--rates", "1e-300:1e-299:1e-300" },
            "ERROR: --rates '1e-300:1e-299:1e-300': rates lie from 0.0001 to 100 mm/yr" },
        { { "transient", "--rates", "0.1:1e308:0.1" }, "ERROR: --rates '0.1:1e308:0.1'" },
        // Each of grid and steps within its bound, their product hours of work.
        { { "history", "--erosion", "0.00033:17000" },
            "ERROR: the history from 0.00033 Ma would take 998001 time steps on 988315 "
            "intervals, 9.86e+11 node steps, more than 1e+09, a few seconds of work" },
        { { "history", "--erosion", "20:0.5", "--fit-phases", "3", "--observed", "measured.csv",
              "--walkers", "-4" },
            "ERROR: --walkers must be 0 (the default) or a positive even number, got -4" },
        { { "history", "--erosion", "20:0.5", "--fit-phases", "3", "--observed", "measured.csv",
              "--burn-in", "-7" },
            "ERROR: --burn-in must be -1 (half the steps) or 0 or more, got -7" },
        { { "history", "--erosion", "20:0.5", "--fit-phases", "3", "--observed", "measured.csv",
              "--steps", "1" },
            "ERROR: --steps must be at least 2, got 1" },
        { { "history", "--erosion", "20:0.5", "--fit-phases", "3", "--observed", "measured.csv",
              "--chains", "0" },
            "ERROR: --chains must be at least 1, got 0" },
        { { "history", "--erosion", "20:0.5", "--fit-phases", "3", "--observed", "measured.csv",
              "--walkers", "20", "--steps", "2147483647" },
            "ERROR: --steps 2147483647 x --walkers 20 asks for" },
        { { "history", "--erosion", "20:0.5", "--fit-phases", "2", "--observed", "measured.csv",
              "--rates", "1e-9:1" },
            "ERROR: --rates MIN:MAX needs 0.0001 <= MIN < MAX <= 100 (mm/yr)" },
        { { "periodic", "--zircon-kinetics", "rdaam" },
            "ERROR: --zircon-kinetics: rdaam serves AHe, not ZHe (choose zrdaam or reiners)\n" },
        // The models' own refusals.
        { { "transient", "-r", "0" }, "ERROR: -r erosion rate must be" },
        { { "transient", "-o", "-1" }, "ERROR: -o exposure time must be greater than 0" },
        { { "transient", "-o", "1e300" }, "ERROR: -o exposure time is too large" },
        { { "transient", "--rates", "0:1:0.1" }, "ERROR: --rates: START must be greater than 0" },
        // A sweep's refusal names the rate and the fix.
        { { "transient", "--rates", "0.5:2.5:1", "-o", "40" },
            "ERROR: --rates at 2.5 mm/yr: the cooling path reaches 2500 C at 40 Ma, outside "
            "-273.15 to 2000 C; narrow --rates or shorten -o\n" },
        { { "periodic", "-A", "-5" }, "ERROR: relief amplitude (-A -5 m) must be zero or" },
        { { "periodic", "-r", "3" }, "ERROR: history duration (-o 20 Myr) at the erosion rate" },
        { { "periodic", "--rates", "0.5:3:0.5" }, "ERROR: --rates at 2.5 mm/yr: history" },
        { { "periodic", "-A", "4000", "-w", "5000" }, "ERROR: at -r 0.5 mm/yr: relief too steep" },
        // Paths no rock can have: hotter than molten, colder than 0 K, older than the Earth.
        { { "transient", "-T", "-300" }, "ERROR: the cooling path reaches -273.2" },
        { { "periodic", "-b", "1e6" }, "ERROR: the cooling path reaches" },
        { { "transient", "-z", "1e7", "-o", "5000" }, "ERROR: -o 5000 Myr: a cooling path cannot" },
        { {}, "ERROR: name a model" },
        { { "transient", "-x", "1" }, "ERROR: unknown option or extra word: -x 1 (see" },
        { { "periodic", "-B", "0.03" }, "ERROR: unknown option or extra word: -B 0.03 (see" },
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        if (!args.empty()) // the output option belongs to a model
            args.insert(args.end(), { "--output", "ages.csv" });
        const Finished finished = run(args);
        const std::string context = c.args.empty() ? "(none)" : c.args.front() + " " + c.args[1];
        EXPECT_EQ(finished.status, 1) << context;
        EXPECT_EQ(finished.out, "") << context;
        EXPECT_EQ(finished.err.rfind(c.message, 0), 0u) << context << ": " << finished.err;
        EXPECT_EQ(finished.err.find("ERROR: ", 1), std::string::npos) << "prefixed once";
        EXPECT_EQ(std::count(finished.err.begin(), finished.err.end(), '\n'), 1) << context;
        EXPECT_FALSE(fs::exists(m_dir / "ages.csv")) << context;
    }
}

TEST_F(CoolingAges, OutputThroughALinkReplacesTheFileItNamesAndKeepsTheLink)
{
    fs::create_directories(m_dir / "tables");
    std::ofstream(m_dir / "tables" / "ages.csv") << "earlier table\n";
    fs::create_symlink("tables/ages.csv", m_dir / "latest.csv");
    const Finished finished = run({ "transient", "--output", "latest.csv" });
    EXPECT_EQ(finished.status, 0) << finished.err;
    EXPECT_TRUE(fs::is_symlink(m_dir / "latest.csv"));
    EXPECT_EQ(readFile(m_dir / "tables" / "ages.csv").rfind(header, 0), 0u);
    EXPECT_EQ(run({ "transient", "--output", "/dev/null" }).status, 0); // not a regular file
}

TEST_F(CoolingAges, RefusedRunLeavesAnEarlierTableAsItWas)
{
    std::ofstream(m_dir / "ages.csv") << "earlier table\n";
    const Finished finished = run({ "transient", "-r", "-1", "--output", "ages.csv" });
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(readFile(m_dir / "ages.csv"), "earlier table\n");
}

TEST_F(CoolingAges, HelpListsEveryOptionWithItsDefaultAndVersionAnswers)
{
    const Finished help = run({ "--help" });
    EXPECT_EQ(help.status, 0);
    for (const char* text :
        { "transient", "periodic", "path", "--systems", "--method", "--apatite-radius NUMBER=60",
            "--zircon-radius NUMBER=60", "--u NUMBER=10", "--th NUMBER=10", "--sm NUMBER=0",
            "--apatite-kinetics NAME=rdaam", "--zircon-kinetics NAME=zrdaam", "--dpar NUMBER=1.75",
            "--rates", "--output", "-L NUMBER=6.5", "-B NUMBER=0.025", "(mm/yr)", "(um)", "(ppm)" })
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
    const Finished version = run({ "--version" });
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("v1.0"), std::string::npos);
}

} // namespace
