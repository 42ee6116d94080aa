#include "viewerlist.h"
#include "viewerstartup.h"

#include "fixturetree.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

using Points = std::vector<double>;

class SeriesReading : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& text) const
    {
        tree.write(name, text);
        return tree.outputPath(name);
    }

    FixtureTree tree;
    SeriesReader reader;
};

} // namespace

TEST_F(SeriesReading, TakesWordPairsInFileOrderAndDropsNaNRecords)
{
    const Points points = reader.readSeries(file("a.dat", "0 -0\n15.2 -1000\nNaN NaN\n"));
    ASSERT_EQ(points, (Points { 0, -0.0, 15.2, -1000 }));
    EXPECT_TRUE(std::signbit(points[1]));
    EXPECT_EQ(reader.recordCount(), 3);
}

TEST_F(SeriesReading, RecordsIgnoreLineBreaks)
{
    // A record split over two lines is one record; two records on one line are two. The
    // solver's pair streams start with a space and end without a newline.
    EXPECT_EQ(reader.readSeries(file("a.dat", "1 2 3\n4\n5\t6")), (Points { 1, 2, 3, 4, 5, 6 }));
    EXPECT_EQ(reader.readSeries(file("b.dat", " 0 125.0 1 119.8")), (Points { 0, 125, 1, 119.8 }));
}

TEST_F(SeriesReading, OnlyTheExactWordNaNDropsARecordOtherSpellingsReadAsZero)
{
    const Points points = reader.readSeries(file("a.dat", "nan 0.000 -nan 5 1 nan 2 NAN 3 NaN"));
    EXPECT_EQ(points, (Points { 0, 0, 0, 5, 1, 0, 2, 0 }));
    for (const double value : points)
        EXPECT_FALSE(std::isnan(value));
    EXPECT_EQ(reader.recordCount(), 5);
}

TEST_F(SeriesReading, ATruncatedLastRecordAddsNoPointButIsCountedAndLeftInTheBuffers)
{
    EXPECT_EQ(reader.readSeries(file("a.dat", " 1 2 3")), (Points { 1, 2 }));
    EXPECT_EQ(reader.recordCount(), 2);
    EXPECT_EQ(reader.firstWord(), "3");
    EXPECT_EQ(reader.secondWord(), "");
}

// A file cut inside its last record sets the first window as the lone word it ends with says.
TEST(TruncatedFile, SetsTheFirstWindowFromItsLoneLastWord)
{
    struct Case {
        const char* program;
        QStringList arguments;
        std::map<QString, QByteArray> files;
        double PlotBounds::*bound;
        double expected;
    };
    const Case cases[] = {
        // The last word read, 1312., rounds up to 1400 (not 700.0, of the last whole record).
        { "plot_geotherm", { "50000", "0.5", "0", "5", "10", "15", "0" },
            { { "transient/geotherm/transient_T4.dat", " 0.000 0.000 700.0 -2.000e+04 1312." } },
            &PlotBounds::xMax, 1400 },
        // Three records read: time levels 0 to 2.
        { "plot_temp_time", { "0", "0.5", "60", "120", "250", "350" },
            { { "transient/temp_time/transient_isotherm4.dat", " 0 -2400. 1 -2000. 2" } },
            &PlotBounds::xMax, 2 },
        // The last record's second word is empty: the bottom is 0, not 12.
        { "plot_2D_temp_hist", { "0.5" },
            { { "periodic/temp_hist/periodic_ridge.dat", "-20.7 310.4 0 12.8 5" } },
            &PlotBounds::yMin, 0 },
    };
    for (const Case& truncated : cases) {
        SCOPED_TRACE(truncated.program);
        FixtureTree tree;
        for (const auto& [path, text] : truncated.files)
            tree.write(path, text);
        const ViewerDefinition* viewer = findViewer(truncated.program);
        ASSERT_NE(viewer, nullptr);
        const FirstView view = viewer->start(truncated.arguments, tree.runDir());
        EXPECT_EQ(view.bounds.*truncated.bound, truncated.expected);
    }
}

TEST_F(SeriesReading, WhiteSpaceAfterTheLastRecordAddsNoPoint)
{
    EXPECT_EQ(reader.readSeries(file("a.dat", "1 2\n3 4 \n\n\t ")), (Points { 1, 2, 3, 4 }));
    EXPECT_EQ(reader.recordCount(), 2);
    EXPECT_EQ(reader.firstWord(), "3");
    EXPECT_EQ(reader.secondWord(), "4");
    EXPECT_TRUE(reader.readSeries(file("blank.dat", " \n \n")).empty());
}

TEST_F(SeriesReading, TheBuffersHoldTheLastRecordReadEvenWhenItWasDropped)
{
    reader.readSeries(file("a.dat", "0 -1 1 NaN"));
    EXPECT_EQ(reader.firstWord(), "1");
    EXPECT_EQ(reader.secondWord(), "NaN");
}

TEST_F(SeriesReading, AMissingOrEmptyFileGivesNoRecordsAndLeavesTheBuffersAlone)
{
    reader.readSeries(file("a.dat", "1312. -5.000e+04"));
    for (const QString& path : { tree.outputPath("missing.dat"), file("empty.dat", "") }) {
        EXPECT_TRUE(reader.readSeries(path).empty());
        EXPECT_EQ(reader.recordCount(), 0);
        EXPECT_EQ(reader.firstWord(), "1312.");
        EXPECT_EQ(reader.secondWord(), "-5.000e+04");
    }
}

TEST_F(SeriesReading, FirstRecordReadsTwoWordsWithoutAnyTest)
{
    reader.readFirstRecord(file("a.dat", "\n 0 NaN 1 2"));
    EXPECT_EQ(reader.firstWord(), "0");
    EXPECT_EQ(reader.secondWord(), "NaN");
    reader.readFirstRecord(file("b.dat", "7"));
    EXPECT_EQ(reader.firstWord(), "7");
    EXPECT_EQ(reader.secondWord(), "");
    reader.readFirstRecord(tree.outputPath("missing.dat"));
    EXPECT_EQ(reader.firstWord(), "");
    EXPECT_EQ(reader.secondWord(), "");
}

TEST(WordConversion, TruncationTowardZeroIsClampedToTheIntRange)
{
    EXPECT_EQ(truncateToInt(1399.99), 1399);
    EXPECT_EQ(truncateToInt(-2.7), -2);
    EXPECT_EQ(truncateToInt(std::numeric_limits<double>::infinity()), INT_MAX);
    EXPECT_EQ(truncateToInt(-1e300), INT_MIN);
    EXPECT_EQ(truncateToInt(std::nan("")), 0);
}

TEST(ArgumentCount, AWrongCountPrintsTheMessageAndTheUsageLine)
{
    const ViewerDefinition viewer { .program = "plot_test",
        .argumentNames = { "DEPTH", "RATE" },
        .caption = {},
        .style = {},
        .start = nullptr };
    EXPECT_EQ(usageLine(viewer), "Usage: plot_test DEPTH RATE");

    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(checkArgumentCount(viewer, { "50000", "0.5" }));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(checkArgumentCount(viewer, { "50000" }));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
        "Bad command line arguments - FIXME!!!\nUsage: plot_test DEPTH RATE\n");
}
