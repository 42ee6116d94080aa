// The newer age plots from small files: the ages of a sweep at a rate between two of its rates,
// the residuals, the envelopes of erosion histories and the profile over a change time.

#include "agesatrate.h"
#include "agesviewer.h"
#include "changetimerange.h"
#include "historyenvelope.h"
#include "historyplots.h"

#include "fixturetree.h"

#include <gtest/gtest.h>

namespace {

ErosionHistory history(std::vector<double> starts, std::vector<double> rates, double chi2 = 0)
{
    return { .startsMa = std::move(starts), .ratesMmYr = std::move(rates), .chi2 = chi2 };
}

class NewAgePlots : public ::testing::Test {
protected:
    FirstView start(const QStringList& arguments, const QByteArray& file) const
    {
        tree.write("ages/file.csv", file);
        return startAgePlots(arguments + QStringList { "../output/ages/file.csv" }, tree.runDir());
    }
    FixtureTree tree;
};

} // namespace

TEST(AgesAtRate, ABestRateBetweenTwoSweepRatesInterpolatesEachRow)
{
    const auto row = [](double rate, double age, bool reset) {
        return PredictedAge { .rate = rate, .x = 0.0, .elevation = 100.0, .system = "AHe",
            .method = "diffusion", .age = age, .closureTemperature = {}, .reset = reset };
    };
    const std::vector<PredictedAge> sweep { row(0.2, 10, true), row(0.4, 6, true),
        row(0.6, 2, false) };
    struct Case {
        double rate, age;
        bool reset;
    };
    for (const Case& c : std::vector<Case> { { 0.25, 9, true }, { 0.4, 6, true },
             { 0.5, 4, false }, { 0.1, 10, true }, { 0.9, 2, false } }) {
        SCOPED_TRACE(c.rate);
        const std::vector<PredictedAge> run = runAtRate(sweep, c.rate);
        ASSERT_EQ(run.size(), 1u);
        EXPECT_DOUBLE_EQ(run[0].age, c.age);
        EXPECT_EQ(run[0].reset, c.reset);
    }
}

TEST(HistoryEnvelope, QuantilesStepsAndEnvelopesFollowTheirDefinitions)
{
    std::vector<double> values { 5, 1, 4, 2, 3 };
    EXPECT_DOUBLE_EQ(quantile(values, 0.0), 1);
    EXPECT_DOUBLE_EQ(quantile(values, 0.5), 3);
    EXPECT_DOUBLE_EQ(quantile(values, 0.875), 4.5); // h = 3.5: between 4 and 5
    const ErosionHistory slowThenFast = history({ 20, 5 }, { 0.1, 0.5 });
    EXPECT_EQ(stepLine(slowThenFast), (std::vector<double> { 20, 0.1, 5, 0.1, 5, 0.5, 0, 0.5 }));
    EXPECT_DOUBLE_EQ(rateAt(slowThenFast, 5.0), 0.1); // the change belongs to the older phase
    EXPECT_DOUBLE_EQ(rateAt(slowThenFast, 4.9), 0.5);
    // Two histories: the envelope between each two change times, oldest first.
    const RateEnvelope envelope
        = rateEnvelope({ slowThenFast, history({ 20, 10 }, { 0.2, 0.3 }) }, 0.0, 1.0, 100);
    EXPECT_EQ(envelope.upper,
        (std::vector<double> { 20, 0.2, 10, 0.2, 10, 0.3, 5, 0.3, 5, 0.5, 0, 0.5 }));
    EXPECT_EQ(envelope.lower, (std::vector<double> { 0.1, 0.1, 0.1, 0.1, 0.3, 0.3 }));
    EXPECT_EQ(rateEnvelope({ slowThenFast }, 0.0, 1.0, 2).upper.size(), 8u); // a 2-step grid
}

TEST_F(NewAgePlots, AFitFileShowsTheBestHistoryOverTheEnvelopeOfThoseInRange)
{
    const FirstView view = start({ "history" },
        "start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr,chi2,in_range\n"
        "20,0.1,5,0.5,3,yes\n20,0.2,10,0.3,3.5,yes\n20,0.9,10,0.9,40,no\n"
        "20,3,10,3,,no\n"); // the last: a history the model could not run
    ASSERT_EQ(view.curves.size(), 2u); // the envelope, the best
    EXPECT_EQ(view.curves[1], (std::vector<double> { 20, 0.1, 5, 0.1, 5, 0.5, 0, 0.5 }));
    EXPECT_EQ(view.labels[0], "20:0.100,5.00:0.500");
    const double highest = *std::ranges::max_element(view.style->curveStyles.at(0).areaLower);
    EXPECT_LE(highest, 0.3); // the history out of range (0.9) is not in the band
    EXPECT_EQ(view.bounds.xMin, 20); // the present at the right
    EXPECT_EQ(view.bounds.yMin, 0);

    const FirstView posterior = start({ "history" },
        "walker,step,start_1_ma,rate_1_mm_yr,chi2\n0,0,20,0.1,5\n1,0,20,0.3,4\n0,1,20,0.2,6\n");
    ASSERT_EQ(posterior.curves.size(), 3u); // 95 %, 68 %, the best
    EXPECT_EQ(posterior.curves[2], (std::vector<double> { 20, 0.3, 0, 0.3 }));
    EXPECT_NEAR(posterior.curves[0][1], 0.2 + 0.1 * 0.95, 1e-12); // the 97.5 % of 0.1, 0.2, 0.3
}

TEST_F(NewAgePlots, ProfileMarksTheLevelAndTheRangeWhereEachChangeStaysBelowIt)
{
    const FirstView view = start({ "--log-y", "profile" },
        "change,change_time_ma,chi2,chi2_level\n1,4,20,10\n1,6,6,10\n1,8,4,10\n1,10,14,10\n"
        "2,1,9,10\n2,2,30,10\n2,3,,10\n"); // none could be run at 3 Ma
    ASSERT_EQ(view.curves.size(), 3u);
    EXPECT_EQ(view.style->curveStyles.at(2).horizontalLines, std::vector<double> { 10 });
    // Change 1 crosses 10 between 4 and 6 and between 8 and 10, read as the fit reads the range
    // it prints; change 2 is below the level at the profile's end.
    ages::ChangeTimeProfile printed;
    printed.changeTimesMa = { 4, 6, 8, 10 };
    printed.chi2 = { 20, 6, 4, 14 };
    ages::readRange(printed, 10, { 4, 10 });
    const std::vector<double>& range = view.style->curveStyles.at(0).verticalLines;
    EXPECT_DOUBLE_EQ(range[0], printed.rangeLowMa);
    EXPECT_DOUBLE_EQ(range[1], printed.rangeHighMa);
    EXPECT_GT(range[0], 4);
    EXPECT_LT(range[0], 6);
    EXPECT_GT(range[1], 8);
    EXPECT_LT(range[1], 10);
    EXPECT_TRUE(view.style->legendRows[1].text.endsWith("(profile end)"));
    EXPECT_TRUE(view.bounds.yLog);
    EXPECT_GT(view.bounds.xMin, view.bounds.xMax);
}

TEST_F(NewAgePlots, ResidualsStandAtTheirElevationOrPlaceWithMinimumAgesHollow)
{
    const QByteArray header = "sample,system,method,elevation_m,age_ma,sigma_ma,predicted_age_ma,"
                              "residual_sigma,reset,kinetics\n";
    const FirstView byElevation
        = start({ "residuals" }, header + "A,AHe,diffusion,500,,,,1.5,yes,x\nA,AFT,annealing,500,,,,"
                                          "-0.5,no,y\nB,AHe,diffusion,900,,,,-3,yes,x\n");
    ASSERT_EQ(byElevation.curves.size(), 4u); // 0 and +-2 lines, AHe, AFT not reset
    EXPECT_EQ(byElevation.curves[2], (std::vector<double> { 500, 1.5, 900, -3 }));
    const CurveStyle& aft = byElevation.style->curveStyles.at(3);
    EXPECT_EQ(aft.markerFill, QColor(Qt::white));
    EXPECT_NE(aft.xPixelOffsets, byElevation.style->curveStyles.at(2).xPixelOffsets);
    EXPECT_LE(byElevation.bounds.yMin, -3);
    EXPECT_GT(byElevation.bounds.yMax, 2); // the +2 line inside, not on the frame

    const FirstView byOrder = start({ "residuals" },
        "sample,system,residual_sigma\nA,AHe,1\nB,AHe,2\nA,AFT,3\n");
    EXPECT_EQ(byOrder.curves[2], (std::vector<double> { 1, 1, 2, 2 }));
    EXPECT_EQ(byOrder.curves[3], (std::vector<double> { 1, 3 }));
    EXPECT_EQ(byOrder.style->xCaption, "Sample (in the order of the file)");

    // One rock dated many times: each age at its own row, not all stacked at 1.
    const FirstView oneRock = start({ "residuals" },
        "sample,system,residual_sigma\nR,AHe,1\nR,AHe,2\nR,ZHe,3\n");
    EXPECT_EQ(oneRock.curves[2], (std::vector<double> { 1, 1, 2, 2 }));
    EXPECT_EQ(oneRock.curves[3], (std::vector<double> { 3, 3 }));
    EXPECT_EQ(oneRock.style->xCaption, "Age of sample R (in the order of the file)");
}
