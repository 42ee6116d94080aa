// Measured track lengths in the fits of cooling_ages: lengths drawn from the distribution the
// model predicts at a known rate or history come back at it, with the ages or alone; the misfit at
// the best fit is the ages' chi2; the report names each sample's lengths against the prediction.

#include "programtables.h"

#include "ageprediction.h"
#include "transientpath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

namespace {

using agestest::Finished;
using agestest::runCoolingAges;

// The best rate of a fit's summary line "best rate: 0.603 mm/yr, ...".
double bestRate(const std::string& err)
{
    std::smatch match;
    if (!std::regex_search(err, match, std::regex("best rate: ([0-9.]+) mm/yr")))
        return std::nan("");
    return std::stod(match[1]);
}

// The lengths of n tracks at the quantiles (k + 1/2) / n of a distribution: a sample that follows
// it as closely as n tracks can.
std::vector<double> quantileLengths(const thermochron::TrackLengthDistribution& distribution, int n)
{
    std::vector<double> lengths;
    for (int k = 0; k < n; ++k) {
        const double share = (k + 0.5) / n;
        double low = 2.15, high = 20;
        for (int step = 0; step < 60; ++step) {
            const double middle = 0.5 * (low + high);
            (distribution.cdf(middle) < share ? low : high) = middle;
        }
        lengths.push_back(0.5 * (low + high));
    }
    return lengths;
}

// The predicted lengths of the transient model's rock at a rate (default model otherwise).
thermochron::TrackLengths transientLengths(double rateMmYr)
{
    erosion::RunParameters parameters;
    parameters.setErosionRate(rateMmYr);
    const ages::SamplePath path = ages::transientCoolingPath(parameters, parameters.historyTime);
    return ages::apatiteLengths(path.path, thermochron::Grain {}, ages::AgeSettings {});
}

class LengthsFit : public agestest::ScratchDirectoryTest {
protected:
    // A CSV of n unprojected tracks of sample at the quantiles of distribution.
    std::string lengthsFile(const std::string& name, const std::string& sample,
        const thermochron::TrackLengthDistribution& distribution, int n) const
    {
        std::string text = "sample,length_um\n";
        for (const double length : quantileLengths(distribution, n))
            text += sample + "," + std::to_string(length) + "\n";
        return write(name, text);
    }
};

// Lengths alone fix the rate: the faster the rock cooled, the less its tracks are shortened.
TEST_F(LengthsFit, LengthsDrawnAtARateComeBackAtThatRate)
{
    const std::string lengths
        = lengthsFile("lengths.csv", "S1", transientLengths(0.6).unprojected, 200);
    const Finished fit
        = runCoolingAges({ "transient", "--rates", "0.2:1.5:0.02", "--lengths", lengths });
    ASSERT_EQ(fit.status, 0) << fit.err;
    EXPECT_NEAR(bestRate(fit.err), 0.6, 0.03) << fit.err;
    // The report: 200 unprojected tracks against the prediction, which they follow closely.
    EXPECT_NE(fit.err.find("lengths S1 (200 unprojected): MTL "), std::string::npos) << fit.err;
    EXPECT_EQ(fit.err.find("warning"), std::string::npos) << fit.err;
    EXPECT_NE(fit.err.find("every sample at the surface; lengths ketcham2007"), std::string::npos)
        << fit.err;
}

// At the best fit the misfit is the ages' chi2: the lengths' -2 ln L is counted relative to its
// value there. With one rate, that rate is the best, so the chi2 printed is the ages' alone.
TEST_F(LengthsFit, TheMisfitAtTheBestFitIsTheChi2OfTheAges)
{
    const std::string ages
        = write("ages.csv", "sample,system,age_ma,sigma_ma\nS1,AFT,6.5,0.5\nS1,AHe,3.1,0.3\n");
    const std::string lengths
        = lengthsFile("lengths.csv", "S1", transientLengths(0.8).unprojected, 100);
    const Finished alone = runCoolingAges({ "transient", "-r", "0.6", "--observed", ages });
    const Finished joined
        = runCoolingAges({ "transient", "-r", "0.6", "--observed", ages, "--lengths", lengths });
    ASSERT_EQ(alone.status, 0) << alone.err;
    ASSERT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(
        alone.err.substr(0, alone.err.find('\n')), joined.err.substr(0, joined.err.find('\n')));

    // Over a sweep, the misfit curve's lowest point is the ages' chi2 at that rate.
    const std::string curve = file("fit.csv");
    const Finished swept = runCoolingAges({ "transient", "--rates", "0.4:1.2:0.05", "--observed",
        ages, "--lengths", lengths, "--fit-output", curve });
    ASSERT_EQ(swept.status, 0) << swept.err;
    const auto rows = agestest::rowsOf(agestest::readFile(curve));
    std::size_t lowest = 0;
    for (std::size_t k = 0; k < rows.size(); ++k)
        if (std::stod(rows[k].at("chi2")) < std::stod(rows[lowest].at("chi2")))
            lowest = k;
    const Finished atLowest
        = runCoolingAges({ "transient", "-r", rows[lowest].at("rate_mm_yr"), "--observed", ages });
    std::smatch match;
    ASSERT_TRUE(std::regex_search(atLowest.err, match, std::regex("chi2 ([0-9.]+) at")));
    EXPECT_NEAR(std::stod(rows[lowest].at("chi2")), std::stod(match[1]), 0.01);
}

TEST_F(LengthsFit, LengthsUnlikeThePredictionAreWarnedOf)
{
    const std::string lengths
        = lengthsFile("lengths.csv", "S1", transientLengths(0.1).unprojected, 150);
    const std::string ages = write("ages.csv", "sample,system,age_ma,sigma_ma\nS1,AHe,1.0,0.05\n");
    const Finished fit = runCoolingAges(
        { "transient", "--rates", "1.5:3:0.1", "--observed", ages, "--lengths", lengths });
    ASSERT_EQ(fit.status, 0) << fit.err;
    EXPECT_NE(
        fit.err.find("warning: the measured lengths of S1 (unprojected, K-S p "), std::string::npos)
        << fit.err;
}

// The plain form: one sample's lengths (and angles) per line, its name given apart.
TEST_F(LengthsFit, ThePlainFormJoinsTheAgeOfItsSample)
{
    std::string text = "# MRT009, c-axis angles\n";
    const std::vector<double> lengths = quantileLengths(transientLengths(0.6).projected, 60);
    for (const double length : lengths)
        text += std::to_string(length) + " 0\n"; // along the c axis: projected as measured
    const std::string plain = write("mrt009.txt", text);
    const std::string ages = write("ages.csv", "sample,system,age_ma,sigma_ma\nMRT009,AFT,9,1\n");
    const Finished fit = runCoolingAges({ "transient", "--rates", "0.3:1:0.02", "--observed", ages,
        "--lengths", plain, "--lengths-sample", "MRT009" });
    ASSERT_EQ(fit.status, 0) << fit.err;
    EXPECT_NE(fit.err.find("lengths MRT009 (60 c-axis projected)"), std::string::npos) << fit.err;
    EXPECT_EQ(fit.err.find("best rate (AFT)"), std::string::npos); // one system: no line of its own
}

TEST_F(LengthsFit, RefusalsNameTheFileAndTheLine)
{
    const std::string ages = write(
        "ages.csv", "sample,system,elevation_m,age_ma,sigma_ma\nS1,AFT,,6,1\nS2,AHe,2000,3,0.3\n");
    const std::string shortTrack = write("short.csv", "sample,length_um\nS1,14\nS1,1.5\n");
    const Finished refused
        = runCoolingAges({ "transient", "-r", "0.6", "--observed", ages, "--lengths", shortTrack });
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
        "ERROR: " + shortTrack
            + " line 3: length 1.5 um is below 2.15 um, shorter than any track the model lets "
              "be measured\n");

    // A periodic model places lengths at their sample's elevation, which S9 has not.
    const std::string placed = write("placed.csv",
        "sample,system,elevation_m,age_ma,sigma_ma\nS1,AFT,2100,6,1\nS2,AHe,2000,3,0.3\n");
    const std::string lengths = write("lengths.csv", "sample,length_um\nS1,14\nS9,14\nS9,13\n");
    const Finished unplaced = runCoolingAges(
        { "periodic", "--mean-elevation", "2000", "--observed", placed, "--lengths", lengths });
    EXPECT_EQ(unplaced.status, 1);
    EXPECT_EQ(unplaced.err,
        "ERROR: " + lengths
            + " line 3: sample S9 has lengths but no measured age with an elevation_m, which a "
              "periodic model needs to place it\n");

    const Finished orphan = runCoolingAges({ "transient", "--lengths-sample", "S1" });
    EXPECT_EQ(orphan.status, 1);
    EXPECT_EQ(orphan.err,
        "ERROR: --lengths-sample names the sample of a --lengths FILE in the plain form: add "
        "--lengths FILE\n");
}

// A sample of lengths without an age of its own takes its elevation from the other ages of its
// name, and the lengths alone pull the rate of the AFT group.
TEST_F(LengthsFit, PeriodicLengthsSitAtTheirSamplesElevation)
{
    const std::string ages = write("ages.csv",
        "sample,system,elevation_m,age_ma,sigma_ma\nS2,AHe,2000,3,0.3\nS3,AHe,1500,2.5,0.3\n");
    const std::string lengths
        = write("lengths.csv", "sample,length_um\nS2,14.1\nS2,13.2\nS2,14.8\nS2,12.9\nS2,13.9\n");
    const Finished fit = runCoolingAges({ "periodic", "-n", "21", "--mean-elevation", "2000",
        "--rates", "0.3:1.5:0.1", "--observed", ages, "--lengths", lengths });
    ASSERT_EQ(fit.status, 0) << fit.err;
    EXPECT_NE(fit.err.find("best rate (AFT): "), std::string::npos) << fit.err;
    EXPECT_NE(fit.err.find("lengths S2 (5 unprojected)"), std::string::npos) << fit.err;
}

// The history fit with lengths alone finds the rate they were drawn at; its misfit at the best
// history is 0, the chi2 of no ages.
TEST_F(LengthsFit, AHistoryFitOfLengthsFindsTheirRate)
{
    // The lengths of the rock exposed today under 30 Myr at 0.5 mm/yr, by the program itself.
    const std::string table = file("ages.csv");
    const std::string bins = file("bins.csv");
    const Finished made = runCoolingAges({ "history", "--erosion", "30:0.5", "--systems", "AFT",
        "--method", "kinetic", "--output", table, "--lengths-output", bins });
    ASSERT_EQ(made.status, 0) << made.err;
    // Tracks at the quantiles of the binned distribution.
    const auto rows = agestest::rowsOf(agestest::readFile(bins));
    ASSERT_EQ(rows.size(), 200u);
    std::string text = "sample,length_um\n";
    double cumulative = 0;
    int k = 0;
    constexpr int n = 150;
    for (const auto& row : rows) {
        cumulative += std::stod(row.at("pdf_unprojected"));
        while (k < n && cumulative >= (k + 0.5) / n) {
            text += "R," + row.at("length_um") + "\n";
            ++k;
        }
    }
    const std::string lengths = write("lengths.csv", text);
    const Finished fit = runCoolingAges({ "history", "--erosion", "30:0.5", "--fit-phases", "1",
        "--rates", "0.1:2", "--lengths", lengths });
    ASSERT_EQ(fit.status, 0) << fit.err;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(fit.err, match, std::regex("best history: 30:([0-9.]+)")))
        << fit.err;
    EXPECT_NEAR(std::stod(match[1]), 0.5, 0.05) << fit.err;
    EXPECT_NE(fit.err.find("chi2 0.00"), std::string::npos) << fit.err;
    EXPECT_NE(fit.err.find("lengths R (150 unprojected)"), std::string::npos) << fit.err;
}

} // namespace
