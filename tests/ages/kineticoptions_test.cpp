// cooling_ages's options of the zircon fission-track and argon kinetics and of the AFT track
// lengths: the table's rows they make and the refusals of values the models do not take.

#include "programtables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace {

using agestest::Finished;
using agestest::readFile;
using agestest::Row;
using agestest::rowsOf;
using agestest::runCoolingAges;

double number(const Row& row, const std::string& column)
{
    return std::stod(row.at(column));
}

class KineticOptions : public agestest::ScratchDirectoryTest {
protected:
    // A 10 Myr hold at temperatureC as a path file.
    std::string hold(double temperatureC) const
    {
        const std::string t = std::to_string(temperatureC);
        return write("hold.csv", "time_ma,temperature_c\n10," + t + "\n0," + t + "\n");
    }

    std::vector<Row> table(const std::vector<std::string>& words) const
    {
        const Finished finished = runCoolingAges(words);
        EXPECT_EQ(finished.status, 0) << finished.err;
        return rowsOf(finished.out);
    }

    std::string refusal(const std::vector<std::string>& words) const
    {
        const Finished finished = runCoolingAges(words);
        EXPECT_EQ(finished.status, 1);
        EXPECT_EQ(finished.out, "");
        return finished.err;
    }
};

TEST_F(KineticOptions, ZirconFissionTrackKineticsAreChosenByName)
{
    const std::string path = hold(300);
    const std::vector<Row> yamada
        = table({ "path", path, "--systems", "ZFT", "--method", "kinetic" });
    ASSERT_EQ(yamada.size(), 1u);
    EXPECT_EQ(yamada[0].at("method"), "annealing");
    EXPECT_EQ(yamada[0].at("kinetics"), "yamada2007");
    EXPECT_NEAR(number(yamada[0], "age_ma"), 3.61535, 4e-3);

    const std::vector<Row> guenthner = table({ "path", path, "--systems", "zft", "--method",
        "kinetic", "--zircon-ft-kinetics", "Guenthner2013" });
    ASSERT_EQ(guenthner.size(), 1u);
    EXPECT_EQ(guenthner[0].at("kinetics"), "guenthner2013");
    EXPECT_NEAR(number(guenthner[0], "age_ma"), 3.91492, 4e-3);
}

TEST_F(KineticOptions, ArgonRowsTakeTheirRadiusAndPressureOptions)
{
    const std::string path = write("cooling.csv", "time_ma,temperature_c\n70,700\n0,0\n");
    const std::vector<Row> rows = table({ "path", path, "--systems", "KAr,BAr,MAr,HAr", "--method",
        "kinetic", "--muscovite-radius", "100", "--pressure", "10" });
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].at("kinetics"), "lovera1997");
    EXPECT_EQ(rows[1].at("kinetics"), "grove1996");
    EXPECT_EQ(rows[2].at("kinetics"), "harrison2009");
    EXPECT_EQ(rows[3].at("kinetics"), "harrison1981");
    for (const Row& row : rows)
        EXPECT_EQ(row.at("method"), "diffusion");
    // Harrison et al. (2009): 100 um at 10 kbar cooled at 10 C/Myr closes at 425 C.
    EXPECT_NEAR(number(rows[2], "closure_temperature_c"), 425, 3);

    const std::vector<Row> coarse = table(
        { "path", path, "--systems", "BAr", "--method", "kinetic", "--biotite-radius", "600" });
    EXPECT_GT(
        number(coarse[0], "closure_temperature_c"), number(rows[1], "closure_temperature_c") + 10);
}

TEST_F(KineticOptions, ValuesTheModelsDoNotTakeAreRefusedByName)
{
    const std::string path = hold(100);
    EXPECT_EQ(refusal({ "path", path, "--zircon-ft-kinetics", "zrdaam" }),
        "ERROR: --zircon-ft-kinetics: zrdaam serves ZHe, not ZFT (choose yamada2007 or "
        "guenthner2013)\n");
    EXPECT_EQ(refusal({ "path", path, "--zircon-ft-kinetics", "tagami" }),
        "ERROR: --zircon-ft-kinetics: unknown kinetics 'tagami' (choose yamada2007 or "
        "guenthner2013)\n");
    EXPECT_EQ(refusal({ "path", path, "--biotite-radius", "2" }),
        "ERROR: --biotite-radius must be from 10 to 5000 um (got 2)\n");
    EXPECT_EQ(refusal({ "path", path, "--muscovite-radius", "1e4" }),
        "ERROR: --muscovite-radius must be from 10 to 5000 um (got 10000)\n");
    EXPECT_EQ(refusal({ "path", path, "--pressure", "31" }),
        "ERROR: --pressure must be from 0 to 30 kbar (got 31)\n");
    EXPECT_EQ(refusal({ "path", path, "--pressure", "5kb" }),
        "ERROR: --pressure expects a number, got '5kb'\n");
}

TEST_F(KineticOptions, TheHelpNamesTheNewOptionsAndTheDparConvention)
{
    const Finished help = runCoolingAges({ "path", "--help" });
    EXPECT_EQ(help.status, 0);
    for (const char* text :
        { "--zircon-ft-kinetics", "yamada2007", "guenthner2013", "--biotite-radius",
            "--muscovite-radius", "--hornblende-radius", "--pressure", "--cf-irradiated",
            "--lengths-output", "held at 0.84 for Dpar <= 1.75", "c-axis projected" })
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
}

TEST_F(KineticOptions, AftRowsCarryProjectedAndUnprojectedLengths)
{
    const std::vector<Row> rows
        = table({ "path", hold(90), "--systems", "AFT,AHe", "--method", "all" });
    ASSERT_EQ(rows.size(), 4u);
    for (const Row& row : rows) {
        const bool lengths = row.at("system") == "AFT" && row.at("method") == "annealing";
        for (const char* column : { "mean_track_length_um", "track_length_sd_um",
                 "mean_track_length_unprojected_um", "track_length_sd_unprojected_um" })
            EXPECT_EQ(row.at(column).empty(), !lengths) << column;
    }
    const Row& aft = rows[1]; // AFT by Dodson, by annealing, then AHe
    EXPECT_NEAR(number(aft, "mean_track_length_um"), 12.301, 0.05);
    EXPECT_NEAR(number(aft, "track_length_sd_um"), 1.085, 0.05);
    EXPECT_NEAR(number(aft, "mean_track_length_unprojected_um"), 9.767, 0.05);
    EXPECT_NEAR(number(aft, "track_length_sd_unprojected_um"), 2.299, 0.05);

    const std::vector<Row> irradiated
        = table({ "path", hold(90), "--systems", "AFT", "--method", "kinetic", "--cf-irradiated" });
    EXPECT_GT(number(irradiated[0], "mean_track_length_unprojected_um"),
        number(aft, "mean_track_length_unprojected_um") + 0.5);
}

// One block of 200 bins per AFT row of the table, each with the row's keys, in the table's order.
TEST_F(KineticOptions, LengthsOutputWritesOneBlockPerAftRowWithItsKeys)
{
    const std::string lengths = file("lengths.csv");
    const Finished run
        = runCoolingAges({ "periodic", "-n", "3", "--rates", "0.5:1:0.5", "--systems", "AHe,AFT",
            "--method", "kinetic", "--output", file("ages.csv"), "--lengths-output", lengths });
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<Row> ages = rowsOf(readFile(file("ages.csv")));
    std::vector<Row> aftRows;
    for (const Row& row : ages)
        if (row.at("system") == "AFT")
            aftRows.push_back(row);
    const std::string text = readFile(lengths);
    EXPECT_EQ(text.substr(0, text.find('\n')),
        "rate_mm_yr,x_m,elevation_m,site,length_um,pdf_projected,pdf_unprojected");
    const std::vector<Row> bins = rowsOf(text);
    ASSERT_EQ(bins.size(), 200 * aftRows.size());
    for (std::size_t block = 0; block < aftRows.size(); ++block) {
        double projected = 0, unprojected = 0, mean = 0;
        for (std::size_t k = 0; k < 200; ++k) {
            const Row& bin = bins[200 * block + k];
            for (const char* key : { "rate_mm_yr", "x_m", "elevation_m", "site" })
                EXPECT_EQ(bin.at(key), aftRows[block].at(key)) << key;
            EXPECT_NEAR(number(bin, "length_um"), 0.05 + 0.1 * k, 1e-9);
            projected += number(bin, "pdf_projected");
            unprojected += number(bin, "pdf_unprojected");
            mean += number(bin, "length_um") * number(bin, "pdf_projected");
        }
        EXPECT_NEAR(projected, 1, 1e-4);
        EXPECT_NEAR(unprojected, 1, 1e-4);
        EXPECT_NEAR(mean, number(aftRows[block], "mean_track_length_um"), 0.01);
    }
}

TEST_F(KineticOptions, LengthsOutputNeedsAftAgesByAnnealing)
{
    EXPECT_EQ(
        refusal({ "path", hold(90), "--systems", "AHe", "--lengths-output", file("lengths.csv") }),
        "ERROR: --lengths-output writes the track lengths of the AFT ages by annealing: add AFT "
        "to --systems and give --method kinetic or all\n");
    EXPECT_EQ(refusal({ "path", hold(90), "--method", "dodson", "--lengths-output",
                  file("lengths.csv") }),
        "ERROR: --lengths-output writes the track lengths of the AFT ages by annealing: add AFT "
        "to --systems and give --method kinetic or all\n");
    EXPECT_FALSE(std::filesystem::exists(file("lengths.csv")));
}

// The lengths file and the table are replaced together: when the lengths cannot be written (here
// /dev/full, a device that is always full), the table stays as it was.
TEST_F(KineticOptions, LengthsOutputIsReplacedWithTheTableOrNotAtAll)
{
    const std::string table = write("ages.csv", "earlier table\n");
    const Finished failed
        = runCoolingAges({ "path", hold(90), "--output", table, "--lengths-output", "/dev/full" });
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "ERROR: cannot write /dev/full: No space left on device\n");
    EXPECT_EQ(readFile(table), "earlier table\n");

    const std::string lengths = file("lengths.csv");
    const Finished written
        = runCoolingAges({ "path", hold(90), "--output", table, "--lengths-output", lengths });
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_NE(readFile(table), "earlier table\n");
    EXPECT_EQ(rowsOf(readFile(lengths)).size(), 200u);
}

} // namespace
