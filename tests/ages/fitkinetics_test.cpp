// A sample's prediction in every fit is the age table's age for the same model, rate, grain and
// kinetics: the residuals of measured samples are compared with the table the same options make,
// for each kinetics name of the catalogue and each model that fits.

#include "programtables.h"

#include "thermochron/catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using agestest::rowsOf;
using agestest::runCoolingAges;

class FitKinetics : public agestest::ScratchDirectoryTest { };

TEST_F(FitKinetics, EveryFitPredictsTheTablesAgeForTheKineticsItNames)
{
    struct Model {
        std::vector<std::string> words; // the model and its options
        std::string place; // the table's row the samples stand for: its x_m, or empty
        std::string elevation; // the samples' elevation_m for that row
    };
    const std::vector<Model> models {
        { { "transient", "-r", "0.9", "-o", "20" }, "", "" },
        { { "periodic", "-r", "0.9", "-n", "5", "--mean-elevation", "2000" }, "0", "3000" },
        { { "history", "--erosion", "20:0.4,6:0.9" }, "", "" },
    };
    // Every pair of helium kinetics: the defaults, the older ones, and one of each.
    const std::vector<std::pair<std::string, std::string>> kinetics {
        { "rdaam", "zrdaam" }, { "farley", "reiners" }, { "farley", "zrdaam" },
        { "rdaam", "reiners" } };
    for (const auto& model : models) {
        for (const auto& [apatite, zircon] : kinetics) {
            SCOPED_TRACE(model.words.front() + " " + apatite + " " + zircon);
            std::vector<std::string> words = model.words;
            words.insert(words.end(),
                { "--systems", "AHe,AFT,ZHe", "--method", "kinetic", "--apatite-kinetics",
                    apatite, "--zircon-kinetics", zircon, "--apatite-radius", "80", "--u", "30" });
            auto tableWords = words;
            tableWords.insert(tableWords.end(), { "--output", file("ages.csv") });
            const auto table = runCoolingAges(tableWords);
            ASSERT_EQ(table.status, 0) << table.err;

            // Each measured grain carries the options' grain in its own columns.
            const std::string observed = write("observed.csv",
                "sample,system,elevation_m,radius_um,u_ppm,age_ma,sigma_ma\n"
                "a,AHe,"
                    + model.elevation + ",80,30,5,0.3\nt,AFT," + model.elevation
                    + ",,,5,0.3\nz,ZHe," + model.elevation + ",60,30,5,0.3\n");
            auto fitWords = words;
            fitWords.insert(fitWords.end(),
                { "--observed", observed, "--residuals", file("residuals.csv") });
            const auto fit = runCoolingAges(fitWords);
            ASSERT_EQ(fit.status, 0) << fit.err;

            const auto tableRows = rowsOf(agestest::readFile(file("ages.csv")));
            const auto residuals = rowsOf(agestest::readFile(file("residuals.csv")));
            ASSERT_EQ(residuals.size(), 3u);
            for (const auto& residual : residuals) {
                int matched = 0;
                for (const auto& row : tableRows) {
                    if (row.at("system") != residual.at("system")
                        || (!model.place.empty() && row.at("x_m") != model.place))
                        continue;
                    ++matched;
                    EXPECT_EQ(residual.at("kinetics"), row.at("kinetics"));
                    EXPECT_DOUBLE_EQ(
                        std::stod(residual.at("predicted_age_ma")), std::stod(row.at("age_ma")))
                        << residual.at("system");
                }
                EXPECT_EQ(matched, 1) << residual.at("system");
            }
        }
    }
}

} // namespace
