// Reading the measured ages: columns found by name, optional values, and every refusal naming the
// line of the file it comes from.

#include "observedages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

using ages::ObservedAgesError;
using ages::parseObservedAges;

std::vector<ages::ObservedAge> parse(const std::string& text)
{
    std::istringstream stream(text);
    return parseObservedAges(stream, "ages.csv");
}

TEST(ObservedAges, ColumnsAreFoundByNameInAnyOrderAndEmptyOptionalsAreUnmeasured)
{
    const auto samples
        = parse("\xEF\xBB\xBF# synthetic, saved by a spreadsheet\n"
                "\n"
                "sigma_ma, elevation_m,system,radius_um,sample,age_ma,dpar_um,sm_ppm\n"
                "0.4,1200,AHe,75,\"S1\",4.5,,120\n"
                "# a comment between rows\n"
                "1.5e0,,AFT,,S2,12,2.1,\r\n");
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].line, 4);
    EXPECT_EQ(samples[0].sample, "S1");
    EXPECT_EQ(samples[0].system, thermochron::System::AHe);
    EXPECT_DOUBLE_EQ(samples[0].ageMa, 4.5);
    EXPECT_DOUBLE_EQ(samples[0].sigmaMa, 0.4);
    EXPECT_EQ(samples[0].elevationM, 1200.0);
    EXPECT_EQ(samples[0].radiusUm, 75.0);
    EXPECT_FALSE(samples[0].dparUm);
    EXPECT_FALSE(samples[0].uPpm); // column absent
    EXPECT_EQ(samples[0].smPpm, 120.0);
    EXPECT_FALSE(samples[1].smPpm); // left empty
    EXPECT_EQ(samples[1].line, 6);
    EXPECT_EQ(samples[1].system, thermochron::System::AFT);
    EXPECT_FALSE(samples[1].elevationM);
    EXPECT_EQ(samples[1].dparUm, 2.1);
}

struct Refusal {
    const char* what;
    std::string text;
    int line;
    const char* reason;
};

void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << refusal.what;
}

class ObservedAgesRefusal : public testing::TestWithParam<Refusal> { };

TEST_P(ObservedAgesRefusal, NamesTheLineAndTheReason)
{
    const auto& refusal = GetParam();
    try {
        parse(refusal.text);
        FAIL() << "accepted: " << refusal.what;
    } catch (const ObservedAgesError& error) {
        const std::string message = error.what();
        EXPECT_NE(
            message.find("ages.csv line " + std::to_string(refusal.line) + ": "), std::string::npos)
            << message;
        EXPECT_NE(message.find(refusal.reason), std::string::npos) << message;
    }
}

const std::string header = "sample,system,age_ma,sigma_ma,radius_um\n";

INSTANTIATE_TEST_SUITE_P(BadRows, ObservedAgesRefusal,
    testing::Values(Refusal { "missing column", "# note\nsample,system,age_ma\nA,AHe,1\n", 2,
                        "required column sigma_ma" },
        Refusal { "missing column lists those found", "Sample,System,Years,Error\nA,AHe,1,1\n", 1,
            "found: Sample, System, Years, Error" },
        Refusal { "semicolons", "sample;system;age_ma;sigma_ma\nA;AHe;1;0.1\n", 1,
            "separated by semicolons, not commas" },
        Refusal { "tabs", "sample\tsystem\tage_ma\tsigma_ma\nA\tAHe\t1\t0.1\n", 1,
            "separated by tabs, not commas" },
        Refusal { "ka typed as Ma", header + "A,AHe,12,1,\nB,AFT,25000,900,\n", 3,
            "age_ma 25000 is older than the Earth (4567 Ma): ages are in Ma, was it typed in ka?" },
        Refusal { "unknown system", header + "A,AHe,1,0.1,\nB,apatite,1,0.1,\n", 3,
            "unknown system 'apatite'" },
        Refusal { "zero sigma", header + "A,AHe,1,0,\n", 2, "sigma_ma must be > 0" },
        Refusal { "negative sigma", header + "\nA,AHe,1,-0.2,\n", 3, "sigma_ma must be > 0" },
        Refusal {
            "word with a unit", header + "A,AHe,12Ma,1,\n", 2, "age_ma is not a number: '12Ma'" },
        Refusal { "nan", header + "A,ZHe,nan,1,\n", 2, "age_ma is not a number" },
        Refusal { "empty required", header + "A,ZHe,,1,\n", 2, "age_ma is not a number" },
        Refusal { "bad optional", header + "A,ZHe,3,1,6O\n", 2, "radius_um is not a number" },
        Refusal { "short row", header + "A,ZHe,3\n", 2, "has 3 fields, the header 5" },
        Refusal { "duplicate column", "sample,system,age_ma,sigma_ma,age_ma\n", 1,
            "age_ma appears twice" },
        // A typo of an optional column would fit every sample with the default grain.
        Refusal { "column without its unit", "sample,system,age_ma,sigma_ma,dpar\n", 1,
            "unknown column 'dpar': did you mean dpar_um?" },
        Refusal { "column within two edits", "sample,system,age_ma,sigma_ma,eU_ppm\n", 1,
            "unknown column 'eU_ppm': did you mean u_ppm?" },
        Refusal { "subnormal sigma", header + "A,AHe,5,1e-310,\n", 2,
            "sigma_ma 1e-310 is below a millionth of the age" },
        Refusal { "sigma far below the age", header + "A,AHe,5,1e-7,\n", 2,
            "is below a millionth of the age" },
        Refusal { "control bytes shown escaped", header + "A,A\x01He,5,1,\n", 2,
            "unknown system 'A\\x01He'" }),
    [](const testing::TestParamInfo<Refusal>& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(ObservedAges, ACommaInsideQuotesBelongsToTheField)
{
    // As a spreadsheet or pandas' to_csv quotes a name that holds the separator.
    const auto samples = parse("sample,system,age_ma,sigma_ma\n\"TR01, ridge\",AHe,4.5,0.4\n");
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0].sample, "TR01, ridge");
    EXPECT_DOUBLE_EQ(samples[0].ageMa, 4.5);
}

TEST(ObservedAges, NamesAreReadInAnyCaseAndSigmasAboveTheAgeAreNamedInAWarning)
{
    const auto samples = parse("Sample,SYSTEM,Age_Ma,sigma_MA\n"
                               "A,aft,12,13\n"
                               "B,AHE,4567,0.5\n"
                               "C,zHe,3,4\n");
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_EQ(samples[0].system, thermochron::System::AFT);
    EXPECT_EQ(samples[1].system, thermochron::System::AHe);
    EXPECT_EQ(samples[2].system, thermochron::System::ZHe);
    const auto warning = ages::sigmaAboveAgeWarning(samples, "ages.csv");
    ASSERT_TRUE(warning);
    EXPECT_NE(warning->find("sigma_ma exceeds age_ma in 2 rows (lines 2, 4)"), std::string::npos)
        << *warning;
    EXPECT_FALSE(ages::sigmaAboveAgeWarning({ samples[1] }, "ages.csv"));
}

TEST(ObservedAges, AFileWithoutSamplesIsRefused)
{
    EXPECT_THROW(parse("# nothing\n"), ObservedAgesError);
    EXPECT_THROW(parse("sample,system,age_ma,sigma_ma\n"), ObservedAgesError);
}

TEST(ObservedAges, PeriodicElevationsMustLieOnTheReliefAfterTheMeanElevation)
{
    const auto samples = parse("sample,system,age_ma,sigma_ma,elevation_m\n"
                               "A,AHe,1,0.1,2900\n"
                               "B,AHe,1,0.1,1100\n");
    // Mean surface at 2000 m: the samples sit at +900 and -900 m in the model.
    EXPECT_FALSE(ages::elevationOutsideRelief(samples, "ages.csv", 2000, 1000));
    // At a mean of 1000 m sample A lies 1900 m above the mean surface, over the 1000 m crests.
    const auto refusal = ages::elevationOutsideRelief(samples, "ages.csv", 1000, 1000);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("ages.csv line 2: "), std::string::npos) << *refusal;
    EXPECT_NE(refusal->find("from -1000 to 1000 m"), std::string::npos) << *refusal;

    const auto unplaced = parse("sample,system,age_ma,sigma_ma,elevation_m\nA,AHe,1,0.1,0\n"
                                "B,AHe,1,0.1,\n");
    const auto missing = ages::elevationOutsideRelief(unplaced, "ages.csv", 0, 1000);
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->find("line 3: "), std::string::npos) << *missing;
}

TEST(ObservedAges, ColumnsTheReaderDoesNotKnowAreNamedInOneNote)
{
    std::istringstream text(
        "sample,system,age_ma,sigma_ma,site,location,notes\rA,AHe,5,0.5,1,2,x\r");
    std::vector<std::string> notes;
    const auto samples = parseObservedAges(text, "ages.csv", &notes);
    EXPECT_EQ(samples.size(), 1u); // CR-only line ends
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "note: ages.csv: ignored columns: site, location, notes");
}

} // namespace

namespace {

// Where the terrain model takes a sample: x_m and y_m in a DEM's system, or lon and lat.
TEST(ObservedAges, PositionsAreReadInPairs)
{
    const auto samples = parse("sample,system,age_ma,sigma_ma,x_m,y_m,lon,lat\n"
                               "A,AHe,4,0.4,722460,191650,,\n"
                               "B,AHe,4,0.4,,,9.0448,46.8647\n"
                               "C,AHe,4,0.4,,,,\n");
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_EQ(samples[0].xM, 722460.0);
    EXPECT_EQ(samples[0].yM, 191650.0);
    EXPECT_FALSE(samples[0].longitudeDeg);
    EXPECT_EQ(samples[1].longitudeDeg, 9.0448);
    EXPECT_EQ(samples[1].latitudeDeg, 46.8647);
    EXPECT_FALSE(samples[1].xM);
    EXPECT_FALSE(samples[2].xM);
    EXPECT_FALSE(samples[2].latitudeDeg);

    const struct {
        const char* text;
        const char* reason;
    } refusals[] = {
        { "sample,system,age_ma,sigma_ma,x_m\nA,AHe,4,0.4,100\n",
            "line 2: x_m is given without y_m: a position needs both" },
        { "sample,system,age_ma,sigma_ma,lon,lat\nA,AHe,4,0.4,,46\n",
            "line 2: lat is given without lon" },
        { "sample,system,age_ma,sigma_ma,lon,lat\nA,AHe,4,0.4,190,46\n",
            "lon must be -180 to 180 degrees" },
        { "sample,system,age_ma,sigma_ma,lon,lat\nA,AHe,4,0.4,9,-95\n",
            "lat must be -90 to 90 degrees" },
        { "sample,system,age_ma,sigma_ma,long,lat\nA,AHe,4,0.4,9,46\n", "did you mean lon?" },
        { "sample,system,age_ma,sigma_ma,x_km,y_m\nA,AHe,4,0.4,9,46\n", "did you mean x_m?" },
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.text);
        try {
            parse(refusal.text);
            ADD_FAILURE() << "not refused";
        } catch (const ObservedAgesError& error) {
            EXPECT_NE(std::string(error.what()).find(refusal.reason), std::string::npos)
                << error.what();
        }
    }
}

// The short names of three letters are near-misses by one edit only, so that the short columns
// of a data sheet (n grains, Ft) stay unknown columns, named in the note, not typos of lon or lat.
TEST(ObservedAges, ShortColumnsOfADataSheetAreNotTakenForLonOrLat)
{
    std::istringstream text("sample,system,age_ma,sigma_ma,n,ft,id\nA,AHe,4,0.4,20,0.7,1\n");
    std::vector<std::string> notes;
    const auto samples = parseObservedAges(text, "ages.csv", &notes);
    ASSERT_EQ(samples.size(), 1u);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("n, ft, id"), std::string::npos) << notes[0];
}

} // namespace

namespace {

ages::ObservedData parseData(const std::string& text)
{
    std::istringstream stream(text);
    return ages::parseObservedData(stream, "data.csv");
}

TEST(ObservedData, BoreholeTemperaturesHeatFlowsAndDepthsAreReadBesideTheAges)
{
    const auto data = parseData("sample,system,age_ma,sigma_ma,depth_m,elevation_m,temperature_c,"
                                "sigma_c,heat_flow_mw_m2,sigma_mw_m2\n"
                                "W1-0,AHe,12,1,0,450,,,,\n"
                                "W1-2000,AHe,3.5,0.4,2000,450,,,,\n"
                                "W1-T,t,,,1500,450,48.5,1.5,,\n"
                                "site,Q,,,,,,,62,6\n");
    ASSERT_EQ(data.ages.size(), 2u);
    EXPECT_EQ(data.ages[0].depthM, 0.0);
    EXPECT_EQ(data.ages[1].depthM, 2000.0);
    ASSERT_EQ(data.temperatures.size(), 1u);
    EXPECT_EQ(data.temperatures[0].line, 4);
    EXPECT_DOUBLE_EQ(data.temperatures[0].depthM, 1500);
    EXPECT_EQ(data.temperatures[0].elevationM, 450.0);
    EXPECT_DOUBLE_EQ(data.temperatures[0].temperatureC, 48.5);
    EXPECT_DOUBLE_EQ(data.temperatures[0].sigmaC, 1.5);
    ASSERT_EQ(data.heatFlows.size(), 1u);
    EXPECT_DOUBLE_EQ(data.heatFlows[0].heatFlowMWm2, 62);
    EXPECT_DOUBLE_EQ(data.heatFlows[0].sigmaMWm2, 6);
}

TEST(ObservedData, RowsOfTemperatureAndHeatFlowAreRefusedWhereTheyCannotBeUsed)
{
    const std::string header = "sample,system,age_ma,sigma_ma,depth_m,temperature_c,sigma_c\n";
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        { header + "A,AHe,3,0.3,,,\nW,T,5,,100,20,1\n", "line 3: a row of system T" },
        { header + "A,AHe,3,0.3,,,\nW,T,,,100,20,\n", "needs a value in column sigma_c" },
        { header + "A,AHe,3,0.3,,,\nW,T,,,100,20,0\n", "sigma_c must be > 0" },
        { header + "A,AHe,3,0.3,-5,,\n", "depth_m is the depth below today's surface" },
        { header + "A,AHe,3,0.3,,,\nW,Q,,,,,\n", "needs a value in column heat_flow_mw_m2" },
    };
    for (const auto& c : cases) {
        try {
            parseData(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ObservedAgesError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
    // The models without a column take neither rows of T nor samples below the surface.
    for (const std::string& text :
        { header + "A,AHe,3,0.3,,,\nW,T,,,100,20,1\n", header + "A,AHe,3,0.3,200,,\n" }) {
        try {
            parse(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ObservedAgesError& error) {
            EXPECT_NE(std::string(error.what()).find("cooling_ages history"), std::string::npos)
                << error.what();
        }
    }
}

} // namespace
