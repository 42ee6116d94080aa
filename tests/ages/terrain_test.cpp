// cooling_ages terrain through the whole program: under a flat DEM the 3D model's ages equal
// those of `cooling_ages history` for the same history; the samples placed where the measured
// ages say, the comparison with them, the maps, the fit of a history, and the refusals.

#include "programtables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
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

class TerrainCommand : public agestest::ScratchDirectoryTest {
protected:
    // An ESRI ASCII grid without .prj (local metres): columns x rows cells of spacing m, the
    // lower left corner at (0, 0), so that node (i, j) stands at ((i + 0.5) m, (j + 0.5) m);
    // height(i, j) gives its elevation.
    template <class Height>
    std::string writeDem(
        const std::string& name, int columns, int rows, double spacing, Height height) const
    {
        std::ostringstream grid;
        grid << "ncols " << columns << "\nnrows " << rows << "\nxllcorner 0\nyllcorner 0\n"
             << "cellsize " << spacing << "\nNODATA_value -9999\n";
        for (int j = rows - 1; j >= 0; --j) { // the first row of the file is the northernmost
            for (int i = 0; i < columns; ++i)
                grid << height(i, j) << ' ';
            grid << '\n';
        }
        return write(name, grid.str());
    }

    std::string flatDem() const
    {
        return writeDem("flat.asc", 3, 3, 1000, [](int, int) { return 0.0; });
    }

    // Two ridges along y over 4 km, 300 to 900 m.
    std::string hillyDem() const
    {
        return writeDem("hills.asc", 9, 5, 500,
            [](int i, int) { return 600 - 300 * std::cos(2 * 3.14159265358979 * i / 4.0); });
    }
};

// The rows of a table keyed by system and method.
std::map<std::string, Row> bySystem(const std::vector<Row>& rows)
{
    std::map<std::string, Row> keyed;
    for (const Row& row : rows)
        keyed[row.at("system") + " " + row.at("method")] = row;
    return keyed;
}

// Under a flat DEM at sea level every column is the 1D column of the history model. The 3D
// model starts from the steady state of its first phase, the history model from the steady
// geotherm without erosion; a first phase of 180 Myr at 0.05 mm/yr (2.3 diffusion times of the
// 50 km column) brings the latter to the former before the rates that make the ages.
TEST_F(TerrainCommand, FlatDemGivesTheHistoryModelsAges)
{
    const std::string samples = write("samples.csv",
        "sample,system,age_ma,sigma_ma,x_m,y_m,elevation_m\n"
        "A,AHe,5,0.5,1500,1500,0\nB,AFT,9,0.9,500,2500,0\n");
    for (const char* erosion : { "200:0.05,20:0.3,5:0.6", "200:0.05,12:0.5" }) {
        SCOPED_TRACE(erosion);
        const std::vector<std::string> common { "--erosion", erosion, "-H", "1.5", "--systems",
            "AHe,AFT,ZHe,ZFT" };
        std::vector<std::string> terrainWords { "terrain", "--dem", flatDem(), "--observed",
            samples, "--levels", "61", "--time-step", "0.25" };
        terrainWords.insert(terrainWords.end(), common.begin(), common.end());
        std::vector<std::string> historyWords { "history" };
        historyWords.insert(historyWords.end(), common.begin(), common.end());
        const Finished terrain = runCoolingAges(terrainWords);
        const Finished history = runCoolingAges(historyWords);
        ASSERT_EQ(terrain.status, 0) << terrain.err;
        ASSERT_EQ(history.status, 0) << history.err;
        const std::vector<Row> terrainRows = rowsOf(terrain.out);
        const std::map<std::string, Row> historyRows = bySystem(rowsOf(history.out));
        ASSERT_EQ(terrainRows.size(), 2 * historyRows.size()); // two samples
        for (const Row& row : terrainRows) {
            const std::string key = row.at("system") + " " + row.at("method");
            SCOPED_TRACE(row.at("sample") + " " + key);
            const Row& expected = historyRows.at(key);
            const double age = std::stod(expected.at("age_ma"));
            EXPECT_NEAR(std::stod(row.at("age_ma")), age, 1e-3 * age);
            EXPECT_EQ(row.at("reset"), expected.at("reset"));
            EXPECT_EQ(row.at("rate_mm_yr"), expected.at("rate_mm_yr"));
        }
        EXPECT_EQ(terrainRows.front().at("sample"), "A");
        EXPECT_EQ(terrainRows.front().at("x_m"), "1500");
        EXPECT_EQ(terrainRows.front().at("y_m"), "1500");
        EXPECT_EQ(terrainRows.back().at("sample"), "B");
        EXPECT_EQ(terrainRows.back().at("y_m"), "2500");
    }
}

// The table's columns: the age table's, then y_m and sample; one row per sample, system and
// method, the samples in the order they first appear.
TEST_F(TerrainCommand, TableHasTheAgeTablesColumnsThenYAndSample)
{
    const std::string samples = write("samples.csv",
        "sample,system,age_ma,sigma_ma,x_m,y_m\nridge,AHe,5,0.5,1250,1000\n"
        "valley,AHe,5,0.5,2250,1000\nridge,ZHe,9,0.9,1250,1000\n");
    const Finished run = runCoolingAges({ "terrain", "--dem", hillyDem(), "--erosion", "20:0.5",
        "--observed", samples, "--systems", "AHe,ZHe", "--method", "kinetic" });
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string header = run.out.substr(0, run.out.find('\n'));
    EXPECT_EQ(header,
        "rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,raw_age_ma,closure_temperature_c,"
        "closure_depth_m,reset,mean_track_length_um,path_start_ma,kinetics,track_length_sd_um,"
        "mean_track_length_unprojected_um,track_length_sd_unprojected_um,y_m,sample");
    const std::vector<Row> rows = rowsOf(run.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].at("sample"), "ridge");
    EXPECT_EQ(rows[2].at("sample"), "valley");
    // Without elevation_m a sample stands on the model's surface: the ridge at 900 m (node 2 of
    // the cosine, x = 1250), the valley at 300 m (node 4, x = 2250).
    EXPECT_NEAR(std::stod(rows[0].at("elevation_m")), 900, 1e-6);
    EXPECT_NEAR(std::stod(rows[2].at("elevation_m")), 300, 1e-6);
    // The ridge's rock has further to cool and is exhumed through hotter isotherms that the
    // ridge lifts less than its height: it is older than the valley's.
    EXPECT_GT(std::stod(rows[0].at("age_ma")), std::stod(rows[2].at("age_ma")));
}

// --observed without a fit: chi2 of --erosion's history and the residuals, as the history model
// gives them.
TEST_F(TerrainCommand, ComparesTheHistoryWithTheSamplesAndWritesResiduals)
{
    const std::string samples = write("samples.csv",
        "sample,system,age_ma,sigma_ma,x_m,y_m\nridge,AHe,5,0.5,1250,1000\n"
        "valley,AHe,4,0.5,2250,1000\n");
    const Finished run
        = runCoolingAges({ "terrain", "--dem", hillyDem(), "--erosion", "20:0.5", "--observed",
            samples, "--residuals", file("residuals.csv"), "--output", file("ages.csv") });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(std::regex_search(run.err,
        std::regex(R"(^chi2 [0-9.]+ for the history 20:0.500 \(no fit\), reduced chi2 [0-9.]+\n)")))
        << run.err;
    const std::vector<Row> residuals = rowsOf(readFile(file("residuals.csv")));
    ASSERT_EQ(residuals.size(), 2u);
    EXPECT_EQ(residuals[0].at("sample"), "ridge");
    // The prediction is the table's kinetic AHe age of the same sample.
    const std::vector<Row> table = rowsOf(readFile(file("ages.csv")));
    const auto kinetic = std::find_if(table.begin(), table.end(), [](const Row& row) {
        return row.at("sample") == "ridge" && row.at("system") == "AHe"
            && row.at("method") == "diffusion";
    });
    ASSERT_NE(kinetic, table.end());
    EXPECT_EQ(residuals[0].at("predicted_age_ma"), kinetic->at("age_ma"));
}

TEST_F(TerrainCommand, WritesTheAgeMapAndTheField)
{
    const Finished run = runCoolingAges({ "terrain", "--dem", hillyDem(), "--erosion", "20:0.5",
        "--systems", "AHe,AFT", "--age-map", file("ages.tif"), "--field", file("field.vts") });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(rowsOf(run.out).size(), 0u); // no samples: the table's header alone
    const std::string map = readFile(file("ages.tif"));
    ASSERT_GE(map.size(), 4u);
    EXPECT_EQ(map.substr(0, 4), std::string("II*\0", 4)); // a little-endian TIFF
    const std::string field = readFile(file("field.vts"));
    EXPECT_NE(field.find("<VTKFile type=\"StructuredGrid\""), std::string::npos);
    EXPECT_NE(field.find("temperature_c"), std::string::npos);
    // No scratch file of the run is left in the directory.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir))
        ++files;
    EXPECT_EQ(files, 3); // the DEM, the map and the field
}

// Samples made by the model itself at 0.4 mm/yr, fitted with one phase: the sweep finds the
// rate, each sample on its own path through the shared runs.
TEST_F(TerrainCommand, FitsOnePhaseBackToTheRateThatMadeTheAges)
{
    const std::string dem = hillyDem();
    const std::string positions = write("positions.csv",
        "sample,system,age_ma,sigma_ma,x_m,y_m\nridge,AHe,1,1,1250,1000\nridge,ZHe,1,1,1250,1000\n"
        "valley,AHe,1,1,2250,1000\nvalley,ZHe,1,1,2250,1000\n");
    const std::vector<std::string> model { "--dem", dem, "--levels", "21", "--time-step", "1" };
    std::vector<std::string> words { "terrain", "--erosion", "15:0.4", "--systems", "AHe,ZHe",
        "--method", "kinetic", "--observed", positions };
    words.insert(words.end(), model.begin(), model.end());
    const Finished made = runCoolingAges(words);
    ASSERT_EQ(made.status, 0) << made.err;
    std::string measured = "sample,system,age_ma,sigma_ma,x_m,y_m\n";
    for (const Row& row : rowsOf(made.out)) {
        const double age = std::stod(row.at("age_ma"));
        measured += row.at("sample") + "," + row.at("system") + "," + row.at("age_ma") + ","
            + std::to_string(0.03 * age) + "," + row.at("x_m") + "," + row.at("y_m") + "\n";
    }
    const std::string samples = write("samples.csv", measured);

    words = { "terrain", "--erosion", "15:1", "--observed", samples, "--fit-phases", "1", "--rates",
        "0.1:1", "--output", file("ages.csv"), "--fit-output", file("fit.csv") };
    words.insert(words.end(), model.begin(), model.end());
    const Finished fit = runCoolingAges(words);
    ASSERT_EQ(fit.status, 0) << fit.err;
    std::smatch best;
    ASSERT_TRUE(std::regex_search(fit.err, best, std::regex(R"(best history: 15:([0-9.]+))")))
        << fit.err;
    EXPECT_NEAR(std::stod(best[1]), 0.4, 0.01) << fit.err;
    EXPECT_GT(rowsOf(readFile(file("fit.csv"))).size(), 10u);
}

// Samples made by the model's forward run at a base of 1100 C (ridge and valley, AHe, AFT and
// ZHe by their kinetic models, sigma 2 %), fitted with one phase and --fit-base 800:1400: the
// base that made them lies within the fitted base's range, and the range is the data's, not the
// bounds'.
TEST_F(TerrainCommand, FitsTheBaseWithTheHistoryBackToTheBaseThatMadeTheAges)
{
    const std::string dem = hillyDem();
    std::string placeholders = "sample,system,age_ma,sigma_ma,x_m,y_m\n";
    for (const char* system : { "AHe", "AFT", "ZHe" })
        placeholders += std::string("ridge,") + system + ",1,1,1250,1000\nvalley," + system
            + ",1,1,2250,1000\n";
    const std::vector<std::string> model { "--dem", dem, "--levels", "21", "--time-step", "1" };
    std::vector<std::string> words { "terrain", "--erosion", "15:0.4", "-b", "1100", "--method",
        "kinetic", "--observed", write("positions.csv", placeholders) };
    words.insert(words.end(), model.begin(), model.end());
    const Finished made = runCoolingAges(words);
    ASSERT_EQ(made.status, 0) << made.err;
    std::string measured = "sample,system,age_ma,sigma_ma,x_m,y_m\n";
    for (const Row& row : rowsOf(made.out))
        if (row.at("system") != "ZFT" && row.at("system") != "MAr")
            measured += row.at("sample") + "," + row.at("system") + "," + row.at("age_ma") + ","
                + std::to_string(0.02 * std::stod(row.at("age_ma"))) + "," + row.at("x_m") + ","
                + row.at("y_m") + "\n";

    words = { "terrain", "--erosion", "15:1", "--observed", write("samples.csv", measured),
        "--fit-phases", "1", "--rates", "0.1:1", "--fit-base", "800:1400" };
    words.insert(words.end(), model.begin(), model.end());
    const Finished fit = runCoolingAges(words);
    ASSERT_EQ(fit.status, 0) << fit.err;
    std::smatch base;
    ASSERT_TRUE(std::regex_search(fit.err, base,
        std::regex(R"(base_temperature_c: ([0-9.]+) C, range ([0-9.]+) to ([0-9.]+) C)")))
        << fit.err;
    EXPECT_LE(std::stod(base[2]), 1100.0) << fit.err;
    EXPECT_GE(std::stod(base[3]), 1100.0) << fit.err;
    EXPECT_LT(std::stod(base[3]) - std::stod(base[2]), 600.0) << fit.err;
    EXPECT_NE(fit.err.find("base fitted, 800 to 1400 C at 50000 m (--fit-base)"), std::string::npos)
        << fit.err;
}

// Rock that rises twice as fast everywhere is the history at twice its rates: the same paths,
// the same ages.
TEST_F(TerrainCommand, AUniformUpliftMapOfTwoIsTheHistoryAtTwiceItsRates)
{
    const std::string samples = write("samples.csv",
        "sample,system,age_ma,sigma_ma,x_m,y_m\nridge,AHe,5,0.5,1250,1000\n"
        "valley,AHe,4,0.5,2250,1000\n");
    const std::string twice = writeDem("twice.asc", 9, 5, 500, [](int, int) { return 2.0; });
    const std::vector<std::string> common { "terrain", "--dem", hillyDem(), "--observed", samples,
        "--systems", "AHe,ZHe", "--levels", "21", "--time-step", "1" };
    std::vector<std::string> mapped = common, doubled = common;
    mapped.insert(mapped.end(), { "--erosion", "20:0.2,8:0.3", "--uplift-map", twice });
    doubled.insert(doubled.end(), { "--erosion", "20:0.4,8:0.6" });
    const Finished withMap = runCoolingAges(mapped);
    const Finished atTwice = runCoolingAges(doubled);
    ASSERT_EQ(withMap.status, 0) << withMap.err;
    ASSERT_EQ(atTwice.status, 0) << atTwice.err;
    const std::vector<Row> ours = rowsOf(withMap.out), theirs = rowsOf(atTwice.out);
    ASSERT_EQ(ours.size(), theirs.size());
    for (std::size_t i = 0; i < ours.size(); ++i)
        EXPECT_NEAR(std::stod(ours[i].at("age_ma")), std::stod(theirs[i].at("age_ma")),
            1e-5 * std::stod(theirs[i].at("age_ma")));
}

TEST_F(TerrainCommand, RefusesInOneLineWithStatusOneAndWritesNothing)
{
    const std::string dem = hillyDem();
    int written = 0; // each case its own file: the cases are made before any runs
    const auto samples = [&](const std::string& rows) {
        return write("samples" + std::to_string(++written) + ".csv",
            "sample,system,age_ma,sigma_ma,x_m,y_m,elevation_m\n" + rows);
    };
    const std::string good = samples("A,AHe,5,0.5,1250,1000,800\n");
    const struct {
        std::vector<std::string> words;
        const char* message;
    } cases[] = {
        { { "--dem", file("none.tif"), "--observed", good }, "--dem " },
        { { "--dem", write("bad.tif", "not a raster"), "--observed", good }, "--dem: " },
        { { "--dem", dem, "--observed", samples("A,AHe,5,0.5,9000,1000,\n") },
            "sample 'A' at x 9000, y 1000 lies outside the DEM (x 250 to 4250, y 250 to 2250)" },
        { { "--dem", dem, "--observed", samples("A,AHe,5,0.5,1250,1000,950\n") },
            "stands above the model's surface there (900 m)" },
        { { "--dem", dem, "--observed",
              write("nowhere.csv", "sample,system,age_ma,sigma_ma\nA,AHe,5,0.5\n") },
            "sample 'A' has no position" },
        { { "--dem", dem, "--observed",
              write("degrees.csv", "sample,system,age_ma,sigma_ma,lon,lat\nA,AHe,5,0.5,9,46\n") },
            "the DEM has no coordinate system" },
        { { "--dem", dem, "--observed",
              samples("A,AHe,5,0.5,1250,1000,800\nA,ZHe,9,0.5,1250,1200,800\n") },
            "one sample is one rock" },
        { { "--dem", dem }, "the terrain model has nothing to compute" },
        { { "--dem", dem, "--observed", good, "--relief", "10:0.5,5:2" },
            "--relief: relief phase 2 (5:2)" },
        { { "--dem", dem, "--observed", good, "--initial", "linear" }, "unknown option" },
        { { "--dem", dem, "--observed", good, "--levels", "2" }, "levels (2) must be 3 to" },
        { { "--dem", dem, "--observed", good, "--resample", "-5" },
            "--resample -5: the model's node spacing must be" },
        { { "--dem", dem, "--observed", good, "--erosion", "20:0.5,10:5" },
            "below the base of the model" },
        { { "--dem", dem, "--observed", good, "--fit-phases", "1", "--rates", "3:5" },
            "the slowest history the fit would try" },
        { { "--dem", dem, "--observed", good, "--fit-phases", "1", "--fit-base", "900:800" },
            "--fit-base 900:800: the bounds need MIN < MAX" },
        { { "--dem", dem, "--observed", good, "--fit-base", "800:900" },
            "--fit-base sets up a fit: add --fit-phases N" },
        { { "--dem", dem, "--observed", good, "--age-map", dem }, "would replace an input" },
        { { "--dem", dem, "--observed", good, "--uplift-map",
              writeDem("small.asc", 4, 5, 500, [](int, int) { return 1.0; }) },
            "its grid (4 x 5 nodes from (250, 250) every 500 m) is not the DEM's (9 x 5 nodes" },
        { { "--dem", dem, "--observed", good, "--uplift-map",
              writeDem("negative.asc", 9, 5, 500, [](int, int) { return -1.0; }) },
            "the uplift map's factors must be finite numbers of at least 0" },
    };
    for (const auto& c : cases) {
        std::vector<std::string> words { "terrain", "--output", file("ages.csv") };
        if (std::find(c.words.begin(), c.words.end(), "--erosion") == c.words.end())
            words.insert(words.end(), { "--erosion", "20:0.5" });
        words.insert(words.end(), c.words.begin(), c.words.end());
        SCOPED_TRACE(testing::PrintToString(words));
        const Finished refused = runCoolingAges(words);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err.rfind("ERROR: ", 0), 0u) << refused.err;
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << refused.err;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
        EXPECT_FALSE(fs::exists(file("ages.csv")));
    }
}

} // namespace
