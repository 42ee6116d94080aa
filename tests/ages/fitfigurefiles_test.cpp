// The files the fits write for their pictures: the samples' length distributions at the best fit
// (--lengths-output with --lengths) and a history's ages along the samples' elevations
// (--elevation-output).

#include "programtables.h"

#include "ageprediction.h"
#include "transientpath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

using agestest::Finished;
using agestest::Row;
using agestest::runCoolingAges;

class FitFigureFiles : public agestest::ScratchDirectoryTest {};

// The blocks of a sample length table, by sample.
std::map<std::string, std::vector<Row>> blocksOf(const std::string& file)
{
    std::map<std::string, std::vector<Row>> blocks;
    for (const Row& row : agestest::rowsOf(agestest::readFile(file)))
        blocks[row.at("sample")].push_back(row);
    return blocks;
}

} // namespace

// With one rate the best fit is that rate: each sample's block is the distribution the model
// predicts for the transient rock there, and sums to one.
TEST_F(FitFigureFiles, ARateFitWritesEachSamplesLengthsAtTheBestRate)
{
    const std::string ages = write("ages.csv", "sample,system,age_ma,sigma_ma\nS1,AFT,6.5,0.5\n");
    const std::string lengths = write("lengths.csv",
        "sample,length_um,angle_deg\nS1,13.1,\nS1,14.2,\nS2,12.5,40\nS2,13.9,70\n");
    const std::string bins = file("bins.csv");
    const Finished fit = runCoolingAges({ "transient", "-r", "0.6", "--observed", ages,
        "--lengths", lengths, "--lengths-output", bins });
    ASSERT_EQ(fit.status, 0) << fit.err;
    erosion::RunParameters parameters;
    parameters.setErosionRate(0.6);
    const thermochron::TrackLengths expected = ages::apatiteLengths(
        ages::transientCoolingPath(parameters, parameters.historyTime).path, thermochron::Grain {},
        ages::AgeSettings {});
    const auto blocks = blocksOf(bins);
    ASSERT_EQ(blocks.size(), 2u);
    for (const auto& [sample, rows] : blocks) {
        SCOPED_TRACE(sample);
        ASSERT_EQ(rows.size(), 200u);
        double projected = 0, unprojected = 0;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            EXPECT_NEAR(std::stod(rows[k].at("length_um")), (k + 0.5) * 0.1, 1e-9);
            // Six significant digits, as every table writes them.
            const double p = expected.projected.bins()[k], u = expected.unprojected.bins()[k];
            EXPECT_NEAR(std::stod(rows[k].at("pdf_projected")), p, 1e-5 * p + 1e-15);
            EXPECT_NEAR(std::stod(rows[k].at("pdf_unprojected")), u, 1e-5 * u + 1e-15);
            projected += std::stod(rows[k].at("pdf_projected"));
            unprojected += std::stod(rows[k].at("pdf_unprojected"));
        }
        EXPECT_NEAR(projected, 1.0, 1e-6);
        EXPECT_NEAR(unprojected, 1.0, 1e-6);
    }
}

// A history compared with measured lengths (the fit's best history goes the same way): the
// sample at the surface has the distribution of the table's rock under that history, which the
// plain --lengths-output gives.
TEST_F(FitFigureFiles, AHistoryWritesItsSamplesLengthsAsItsRock)
{
    const std::string table = file("rock.csv");
    const Finished rock = runCoolingAges({ "history", "--erosion", "30:0.5", "--systems", "AFT",
        "--method", "kinetic", "--output", file("ages.csv"), "--lengths-output", table });
    ASSERT_EQ(rock.status, 0) << rock.err;
    const std::string ages = write("observed.csv", "sample,system,age_ma,sigma_ma\nR,AFT,9,0.8\n");
    const std::string lengths = write("lengths.csv", "sample,length_um\nR,13.5\nR,14.1\nR,12.2\n");
    const std::string bins = file("bins.csv");
    const Finished compared = runCoolingAges({ "history", "--erosion", "30:0.5", "--observed", ages,
        "--lengths", lengths, "--lengths-output", bins, "--output", file("table.csv") });
    ASSERT_EQ(compared.status, 0) << compared.err;
    const auto rows = agestest::rowsOf(agestest::readFile(table));
    const auto blocks = blocksOf(bins);
    ASSERT_EQ(blocks.size(), 1u);
    ASSERT_EQ(rows.size(), blocks.at("R").size());
    for (std::size_t k = 0; k < rows.size(); ++k)
        EXPECT_EQ(rows[k].at("pdf_unprojected"), blocks.at("R")[k].at("pdf_unprojected")) << k;
}

// The profile along elevation holds 41 elevations for each kind of sample, from the lowest sample
// to the highest, and at each sample's own elevation it gives the sample's predicted age.
TEST_F(FitFigureFiles, TheHistorysProfileMeetsEachSamplesPrediction)
{
    const std::string ages = write("observed.csv",
        "sample,system,age_ma,sigma_ma,elevation_m,radius_um\n"
        "S1,AHe,3.0,0.3,1000,60\nS2,AHe,4.0,0.3,2000,90\nS3,AFT,6.0,0.5,1500,\n");
    const std::string profile = file("profile.csv");
    const std::string residuals = file("residuals.csv");
    const Finished fit = runCoolingAges({ "history", "--erosion", "20:0.4", "--observed", ages,
        "--mean-elevation", "1500", "--fit-phases", "1", "--rates", "0.2:1.2",
        "--residuals", residuals, "--elevation-output", profile, "--output", file("table.csv") });
    ASSERT_EQ(fit.status, 0) << fit.err;
    const auto rows = agestest::rowsOf(agestest::readFile(profile));
    ASSERT_EQ(rows.size(), 3u * 41u); // AHe r=60, AHe r=90, AFT
    EXPECT_EQ(rows.front().at("elevation_m"), "1000");
    EXPECT_EQ(rows[40].at("elevation_m"), "2000");
    EXPECT_EQ(rows[41].at("radius_um"), "90");
    EXPECT_EQ(rows[82].at("system"), "AFT");
    EXPECT_EQ(rows[82].at("radius_um"), ""); // annealing reads no radius
    for (const Row& sample : agestest::rowsOf(agestest::readFile(residuals))) {
        SCOPED_TRACE(sample.at("sample"));
        int matches = 0;
        for (const Row& row : rows)
            if (row.at("system") == sample.at("system") && row.at("radius_um") == sample.at("radius_um")
                && std::stod(row.at("elevation_m")) == std::stod(sample.at("elevation_m"))) {
                EXPECT_NEAR(std::stod(row.at("age_ma")), std::stod(sample.at("predicted_age_ma")),
                    1e-6 * std::stod(sample.at("predicted_age_ma")));
                ++matches;
            }
        EXPECT_EQ(matches, 1);
    }
}

TEST_F(FitFigureFiles, AnElevationProfileNeedsMeasuredAges)
{
    const Finished refused = runCoolingAges(
        { "history", "--erosion", "20:0.4", "--elevation-output", file("profile.csv") });
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
        "ERROR: --elevation-output draws the ages along the samples' elevations: add --observed "
        "FILE\n");
    EXPECT_FALSE(std::filesystem::exists(file("profile.csv")));
}
