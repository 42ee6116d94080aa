// The fit through the whole program: measured ages made by cooling_ages itself at a known rate
// come back at that rate, and a bad file is refused with its line before anything is written.

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

using agestest::runCoolingAges;

class FitRun : public agestest::ScratchDirectoryTest {
protected:
    // The fields of every line of the CSV file at path, header first.
    static std::vector<std::vector<std::string>> rows(const std::string& path)
    {
        std::ifstream in(path);
        std::vector<std::vector<std::string>> table;
        for (std::string line; std::getline(in, line);)
            table.push_back(agestest::csvFields(line));
        return table;
    }
};

// Samples of several systems and grains (sample, system, elevation_m, radius_um, u_ppm, dpar_um).
const std::string grainColumns
    = "sample,system,elevation_m,radius_um,u_ppm,dpar_um,age_ma,sigma_ma\n";
const std::vector<std::string> grainRows { "a,AHe,2900,50,8,", "b,AHe,2100,85,30,",
    "c,AFT,2500,,,2.3", "d,ZHe,1300,70,400,", "e,ZFT,1800,,,", "f,AFT,1100,,,1.8" };

TEST_F(FitRun, NoiseFreeAgesMadeByTheProgramComeBackAtTheirRate)
{
    struct Case {
        std::vector<std::string> model; // the model and its options
        double rate;
        std::string sweep;
        double step;
    };
    const std::vector<Case> cases {
        // Paths long enough to reset the kinetic ZFT ages (Yamada et al. 2007) of the sweep.
        { { "transient", "-o", "30", "--mean-elevation", "2000" }, 0.63, "0.3:1.2:0.03", 0.03 },
        { { "periodic", "-n", "41", "--mean-elevation", "2000", "-o", "40" }, 0.47,
            "0.31:0.71:0.02", 0.02 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model.front());
        // 1. The program's predictions at the known rate, as residuals against placeholder ages.
        std::string placeholders = grainColumns;
        for (const auto& row : grainRows) {
            placeholders += row + ",1,1\n";
        }
        auto words = c.model;
        words.insert(words.end(),
            { "--systems", "AHe", "--output", file("ages.csv"), "--observed",
                write("placeholders.csv", placeholders), "--residuals", file("made.csv"), "-r",
                std::to_string(c.rate) });
        const auto made = runCoolingAges(words);
        ASSERT_EQ(made.status, 0) << made.err;
        const auto predictions = rows(file("made.csv"));
        if (c.model.front() == "periodic") {
            // The table's surface in the samples' frame: the mean surface at 2000 m, +-1000 m.
            double highest = -1e300, lowest = 1e300;
            for (const auto& row : rows(file("ages.csv"))) {
                if (row[2] != "elevation_m") {
                    highest = std::max(highest, std::stod(row[2]));
                    lowest = std::min(lowest, std::stod(row[2]));
                }
            }
            EXPECT_DOUBLE_EQ(highest, 3000);
            EXPECT_NEAR(lowest, 1000, 1e-9);
        }
        ASSERT_EQ(predictions.size(), grainRows.size() + 1);
        EXPECT_EQ(predictions[0],
            (std::vector<std::string> { "sample", "system", "method", "elevation_m", "age_ma",
                "sigma_ma", "predicted_age_ma", "residual_sigma", "reset", "kinetics", "in_chi2",
                "radius_um", "u_ppm", "th_ppm", "sm_ppm", "dpar_um" }));
        // Each sample names the kinetics that predicted it: the defaults of its system.
        const std::map<std::string, std::string> kinetics { { "AHe", "rdaam" }, { "ZHe", "zrdaam" },
            { "AFT", "ketcham2007" }, { "ZFT", "yamada2007" } };
        for (std::size_t i = 1; i < predictions.size(); ++i)
            EXPECT_EQ(predictions[i][9], kinetics.at(predictions[i][1])) << predictions[i][1];

        // 2. Those ages as measurements without noise, sigma 5 %, fitted over a sweep.
        std::string observed = grainColumns;
        for (std::size_t i = 0; i < grainRows.size(); ++i) {
            const double age = std::stod(predictions[i + 1][6]);
            observed += grainRows[i] + "," + predictions[i + 1][6] + ","
                + std::to_string(0.05 * age) + "\n";
        }
        words = c.model;
        words.insert(words.end(),
            { "--systems", "AHe", "--output", file("ages.csv"), "--observed",
                write("observed.csv", observed), "--fit-output", file("fit.csv"), "--rates",
                c.sweep });
        const auto fitted = runCoolingAges(words);
        ASSERT_EQ(fitted.status, 0) << fitted.err;

        std::smatch summary;
        const std::string err = fitted.err;
        ASSERT_TRUE(std::regex_search(err, summary,
            std::regex("(^|\n)best rate: ([0-9.]+) mm/yr, range ([0-9.]+) to ([0-9.]+), "
                       "reduced chi2 ([0-9.]+)\n")))
            << err;
        const double best = std::stod(summary[2]);
        EXPECT_NEAR(best, c.rate, c.step);
        EXPECT_LE(std::stod(summary[3]), c.rate);
        EXPECT_GE(std::stod(summary[4]), c.rate);
        EXPECT_EQ(summary[5], "0.00");
        EXPECT_EQ(err.find("warning"), std::string::npos) << err;
        // Each system's samples alone lead back to the same rate.
        for (const std::string system : { "AHe", "AFT", "ZHe", "ZFT" }) {
            std::smatch own;
            ASSERT_TRUE(std::regex_search(err, own,
                std::regex("\nbest rate \\(" + system
                    + "\\): ([0-9.]+) mm/yr, range ([0-9.]+) to ([0-9.]+), reduced chi2 ")))
                << system << '\n'
                << err;
            EXPECT_LE(std::stod(own[2]), c.rate) << system;
            EXPECT_GE(std::stod(own[3]), c.rate) << system;
        }

        double chi2Min = 1e300;
        const auto curve = rows(file("fit.csv"));
        EXPECT_EQ(curve[0], (std::vector<std::string> { "rate_mm_yr", "chi2", "chi2_level" }));
        for (std::size_t i = 1; i < curve.size(); ++i) {
            chi2Min = std::min(chi2Min, std::stod(curve[i][1]));
        }
        EXPECT_LT(chi2Min, 0.01); // the ages as written: 6 significant digits
        // A fit within the errors reads its range one unit of chi2 above the minimum.
        EXPECT_NEAR(std::stod(curve[1][2]), chi2Min + 1, 0.01);
    }
}

TEST_F(FitRun, ResidualsNameTheGrainEachSampleWasPredictedWithOwnValuesOverTheOptions)
{
    // grainRows give some samples their own radius, U or Dpar; the options set the rest.
    std::string observed = grainColumns;
    for (const auto& row : grainRows)
        observed += row + ",10,1\n"; // ages within the 12 Myr path
    const auto run = runCoolingAges(
        { "transient", "-o", "12", "-r", "0.5", "--mean-elevation", "2000", "--systems",
            "AHe,AFT,ZHe,ZFT", "--apatite-radius",
            "90", "--zircon-radius", "45", "--u", "12", "--th", "7", "--sm", "3", "--dpar", "2.6",
            "--observed", write("observed.csv", observed), "--residuals", file("residuals.csv") });
    ASSERT_EQ(run.status, 0) << run.err;
    const auto table = rows(file("residuals.csv"));
    ASSERT_EQ(table.size(), grainRows.size() + 1);
    const auto column = [&](const std::string& name) {
        return static_cast<std::size_t>(
            std::find(table[0].begin(), table[0].end(), name) - table[0].begin());
    };
    // sample -> radius_um, u_ppm, th_ppm, sm_ppm, dpar_um as the fit must have used them: the
    // diffusion systems (AHe, ZHe) read the first four, apatite's annealing (AFT) Dpar, and
    // zircon's (ZFT) none.
    const std::map<std::string, std::vector<std::string>> used {
        { "a", { "50", "8", "7", "3", "" } },
        { "b", { "85", "30", "7", "3", "" } },
        { "c", { "", "", "", "", "2.3" } },
        { "d", { "70", "400", "7", "3", "" } },
        { "e", { "", "", "", "", "" } },
        { "f", { "", "", "", "", "1.8" } },
    };
    for (std::size_t i = 1; i < table.size(); ++i) {
        std::vector<std::string> grain;
        for (const char* name : { "radius_um", "u_ppm", "th_ppm", "sm_ppm", "dpar_um" })
            grain.push_back(table[i].at(column(name)));
        EXPECT_EQ(grain, used.at(table[i][column("sample")])) << table[i][column("sample")];
    }
}

TEST_F(FitRun, PredictionsThatDoNotResetTheGrainAreWarnedOfWithTheFix)
{
    struct Case {
        std::string exposure; // -o, Myr
        std::string sweep;
        std::string ages; // age_ma,sigma_ma rows of AHe samples
        std::string warning; // "" for none
    };
    const std::vector<Case> cases {
        // Ages older than the path are fitted only when kept (--keep-unreset).
        { "5", "0.1:0.5:0.1", "50,2\n40,2\n",
            "warning: 2 of 2 predictions at the best rate do not reset the grain: the paths (-o 5 "
            "Myr) are shorter than the oldest measured age (50 Ma); raise -o\n" },
        { "20", "0.01:0.05:0.01", "5,0.5\n4,0.5\n",
            "warning: 2 of 2 predictions at the best rate do not reset the grain: the paths (-o 20 "
            "Myr) start too cold" },
        { "10", "0.3:1:0.05", "3,0.3\n3.2,0.3\n", "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exposure);
        std::string observed = "sample,system,age_ma,sigma_ma\n";
        std::istringstream lines(c.ages);
        for (std::string line; std::getline(lines, line);) {
            observed += "s,AHe," + line + "\n";
        }
        const auto fitted = runCoolingAges({ "transient", "-o", c.exposure, "--rates", c.sweep,
            "--observed", write("observed.csv", observed), "--residuals", file("residuals.csv"),
            "--keep-unreset" });
        ASSERT_EQ(fitted.status, 0) << fitted.err;
        const auto residuals = rows(file("residuals.csv"));
        const std::string reset = c.warning.empty() ? "yes" : "no";
        const auto resetColumn = static_cast<std::size_t>(
            std::find(residuals[0].begin(), residuals[0].end(), "reset") - residuals[0].begin());
        ASSERT_LT(resetColumn, residuals[0].size());
        for (std::size_t i = 1; i < residuals.size(); ++i) {
            EXPECT_EQ(residuals[i][resetColumn], reset);
        }
        if (c.warning.empty()) {
            EXPECT_EQ(fitted.err.find("reset"), std::string::npos) << fitted.err;
        } else {
            EXPECT_NE(fitted.err.find(c.warning), std::string::npos) << fitted.err;
            // The range reaches an end of these sweeps, but wider rates would not mend the paths.
            EXPECT_EQ(fitted.err.find("extend --rates"), std::string::npos) << fitted.err;
        }
    }
}

TEST_F(FitRun, TransientSamplesWithElevationsArePlacedOrRefused)
{
    struct Case {
        std::string model;
        std::string elevations; // of the two samples
        bool meanElevation; // --mean-elevation given
        int status;
    };
    // The transient model places samples that carry elevations above --mean-elevation, and
    // without it refuses them (it no longer compares them all with the surface rock).
    const std::vector<Case> cases {
        { "transient", "100,900", false, 1 },
        { "transient", "100,900", true, 0 },
        { "transient", ",", false, 0 },
        { "periodic", "100,900", false, 0 },
    };
    const std::string refusal = "ERROR: the samples carry elevations (elevation_m, line 2): give "
                                "--mean-elevation M";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model + " " + c.elevations);
        const auto comma = c.elevations.find(',');
        const std::string observed = "sample,system,age_ma,sigma_ma,elevation_m\na,AHe,5,0.5,"
            + c.elevations.substr(0, comma) + "\nb,AHe,6,0.5," + c.elevations.substr(comma + 1)
            + "\n";
        std::vector<std::string> words { c.model, "--rates", "0.2:0.6:0.2", "--observed",
            write("observed.csv", observed) };
        if (c.model == "periodic") {
            words.insert(words.end(), { "-n", "21" });
        }
        if (c.meanElevation) {
            words.insert(words.end(), { "--mean-elevation", "500" });
        }
        const auto fitted = runCoolingAges(words);
        ASSERT_EQ(fitted.status, c.status) << fitted.err;
        EXPECT_EQ(fitted.err.find(refusal) != std::string::npos, c.status == 1) << fitted.err;
        EXPECT_EQ(fitted.err.find("which the transient model ignores"), std::string::npos);
        if (c.meanElevation) {
            EXPECT_NE(fitted.err.find("samples placed below a mean surface at 500 m, lapse rate "
                                      "6.5 C/km"),
                std::string::npos)
                << fitted.err;
        }
    }
}

TEST_F(FitRun, AFitWithoutOutputWritesNoTableAndFitsAsOneWithIt)
{
    const std::string observed = write("observed.csv",
        "sample,system,age_ma,sigma_ma,elevation_m,radius_um\na,AHe,6,0.4,800,50\n"
        "b,AHe,4,0.3,-600,80\nc,AFT,9,0.8,200,\n");
    for (const std::string model : { "transient", "periodic" }) {
        SCOPED_TRACE(model);
        std::vector<std::string> fit { model, "--rates", "0.3:0.9:0.1", "--observed", observed,
            "--mean-elevation", "0" };
        if (model == "periodic") {
            fit.insert(fit.end(), { "-n", "21" });
        }
        auto alone = fit;
        alone.insert(alone.end(), { "--fit-output", file("alone.csv") });
        const auto fitOnly = runCoolingAges(alone);
        ASSERT_EQ(fitOnly.status, 0) << fitOnly.err;
        EXPECT_EQ(fitOnly.out, "");
        auto withTable = fit;
        withTable.insert(
            withTable.end(), { "--fit-output", file("with.csv"), "--output", file("ages.csv") });
        const auto both = runCoolingAges(withTable);
        ASSERT_EQ(both.status, 0) << both.err;
        EXPECT_EQ(rows(file("alone.csv")), rows(file("with.csv")));
        EXPECT_EQ(fitOnly.err, both.err);
        EXPECT_GT(rows(file("ages.csv")).size(), 1u);
    }
}

TEST_F(FitRun, ABadRowIsRefusedWithItsLineBeforeAnyOutput)
{
    struct Case {
        std::string model;
        std::string rows;
        std::string line;
        std::string reason;
    };
    const std::string header = "# measured\nsample,system,age_ma,sigma_ma,elevation_m\n";
    const std::vector<Case> cases {
        { "transient", "a,AHe,3,0.3,\nb,AHe,3,0,\n", "line 4", "sigma_ma must be > 0" },
        { "transient", "a,He,3,0.3,\n", "line 3", "unknown system" },
        { "transient", "a,AHe,3 Ma,0.3,\n", "line 3", "age_ma is not a number" },
        { "periodic", "a,AHe,3,0.3,900\nb,AFT,5,0.4,1200\n", "line 4",
            "outside its relief from -1000 to 1000 m" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        const auto refused
            = runCoolingAges({ c.model, "--observed", write("bad.csv", header + c.rows), "--output",
                file("ages.csv"), "--fit-output", file("fit.csv"), "--rates", "0.4:0.6:0.1" });
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("bad.csv " + c.line + ": "), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find(c.reason), std::string::npos) << refused.err;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
        EXPECT_FALSE(fs::exists(file("ages.csv")));
        EXPECT_FALSE(fs::exists(file("fit.csv")));
    }
}

TEST_F(FitRun, OutputsThatCannotWorkAreRefusedBeforeAnyWork)
{
    for (const std::vector<std::string>& words :
        { std::vector<std::string> { "transient", "--fit-output", "f.csv" },
            { "periodic", "--residuals", "r.csv" },
            { "transient", "--rates", "0.1:1:0.1", "--path-output", "p.csv" },
            { "transient", "--observed", "a.csv", "--residuals", "./a.csv" },
            { "path", "p.csv", "--path-output", "p.csv" } }) {
        const auto refused = runCoolingAges(words);
        EXPECT_EQ(refused.status, 1) << words[1];
        EXPECT_EQ(refused.err.rfind("ERROR: ", 0), 0u) << refused.err;
        EXPECT_EQ(refused.err.find("ERROR: ", 1), std::string::npos) << "prefixed once";
        EXPECT_TRUE(refused.out.empty());
    }
}

TEST_F(FitRun, PathOutputHoldsTheTransientPathWithDepthsAndAFilePathWithout)
{
    ASSERT_EQ(runCoolingAges({ "transient", "-o", "5", "--path-output", file("path.csv"),
                                 "--output", file("ages.csv") })
                  .status,
        0);
    const auto path = rows(file("path.csv"));
    ASSERT_GE(path.size(), 1001u);
    EXPECT_EQ(path[0], (std::vector<std::string> { "time_ma", "temperature_c", "depth_m" }));
    EXPECT_EQ(std::stod(path[1][0]), 5); // oldest first, from the start of erosion
    EXPECT_EQ(path.back()[0], "0");
    EXPECT_EQ(path.back()[2], "0"); // at the surface now
    EXPECT_GT(std::stod(path[1][2]), 0);

    const auto fromFile
        = runCoolingAges({ "path", write("in.csv", "time_ma,temperature_c\n10,200\n0,10\n"),
            "--path-output", file("copy.csv"), "--output", file("ages.csv") });
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    const auto copy = rows(file("copy.csv"));
    ASSERT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy[1], (std::vector<std::string> { "10", "200", "" })); // depth empty
}

TEST_F(FitRun, AgesOlderThanThePathAreLeftOutAndNamedUnlessKept)
{
    const std::string young = "sample,system,age_ma,sigma_ma\na,AHe,2.1,0.2\nb,AFT,3,0.3\n";
    const std::string withOld = young + "z1,ZFT,72,5\nz2,ZFT,160,9\n";
    const auto fitOf = [&](const std::string& name, const std::string& text, bool keep) {
        std::vector<std::string> words { "transient", "-o", "20", "--rates", "0.2:2:0.01",
            "--observed", write(name, text) };
        if (keep)
            words.push_back("--keep-unreset");
        const auto run = runCoolingAges(words);
        EXPECT_EQ(run.status, 0) << run.err;
        return run.err;
    };
    const std::string alone = fitOf("young.csv", young, false);
    const std::string left = fitOf("old.csv", withOld, false);
    const std::string kept = fitOf("old.csv", withOld, true);
    const auto bestLine = [](const std::string& err) {
        const auto at = err.find("best rate: ");
        return err.substr(at, err.find('\n', at) - at);
    };
    // Left out, the old ages change nothing; kept, they move the rate.
    EXPECT_EQ(bestLine(left), bestLine(alone));
    EXPECT_NE(bestLine(kept), bestLine(alone));
    EXPECT_NE(left.find("warning: 2 of 4 measured ages are older than the paths (-o 20 Myr) and "
                        "are left out of chi2"),
        std::string::npos)
        << left;
    EXPECT_NE(left.find("z1 (ZFT 72 Ma), z2 (ZFT 160 Ma)"), std::string::npos);
    EXPECT_EQ(left.find("best rate (ZFT)"), std::string::npos);
    EXPECT_EQ(kept.find("are left out of chi2"), std::string::npos);
}

TEST_F(FitRun, TheAssumedLineSaysWhatTheAnswerRestsOn)
{
    const std::string observed = write("grains.csv",
        "sample,system,radius_um,u_ppm,dpar_um,age_ma,sigma_ma\n"
        "a,AHe,80,30,,2.1,0.2\nb,AFT,,,2.0,3,0.3\nc,AFT,,,,3.1,0.3\n");
    const auto run = runCoolingAges({ "transient", "-o", "20", "-T", "5", "--rates", "0.2:2:0.01",
        "--apatite-kinetics", "farley", "--observed", observed });
    ASSERT_EQ(run.status, 0) << run.err;
    const auto best = run.err.find("best rate: ");
    const auto assumed = run.err.find("\nassumed: ", best);
    ASSERT_NE(assumed, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n', best), assumed); // the line after the best rate
    EXPECT_EQ(run.err.substr(assumed + 1, run.err.find('\n', assumed + 1) - assumed - 1),
        "assumed: surface 5 C, initial gradient 0.025 C/m, diffusivity 1.3636e-06 m2/s, path "
        "start 20 Ma (-o), every sample at the surface; kinetics AHe farley, AFT ketcham2007; "
        "grain defaults: th_ppm 10 for 1 of 1 sample, sm_ppm 0 for 1 of 1 sample, dpar_um 1.75 "
        "for 1 of 2 samples");
}

TEST_F(FitRun, AFileThatCannotBeWrittenLeavesEveryFileOfTheRunAsItWas)
{
    const std::string table = write("ages.csv", "old table\n");
    const std::string misfit = write("fit.csv", "old misfit\n");
    const std::string observed
        = write("observed.csv", "sample,system,age_ma,sigma_ma\na,AHe,2,0.2\n");
    // /dev/full takes the residuals in place and fails on the first write, after the table and
    // the misfit curve are complete.
    const auto run = runCoolingAges({ "transient", "--rates", "0.2:1:0.1", "--observed", observed,
        "--output", table, "--fit-output", misfit, "--residuals", "/dev/full" });
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ERROR: cannot write /dev/full: No space left on device\n");
    EXPECT_EQ(agestest::readFile(table), "old table\n");
    EXPECT_EQ(agestest::readFile(misfit), "old misfit\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 3);
}

} // namespace
