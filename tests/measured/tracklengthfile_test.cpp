// Reading measured track lengths: the CSV form by header names in any case, the plain form of one
// sample, the c-axis projection of tracks with an angle, and every refusal naming its line.

#include "tracklengthfile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using ages::SampleLengths;
using ages::TrackLengthsError;

std::vector<SampleLengths> parse(const std::string& text,
    const std::optional<std::string>& plainSample = std::nullopt,
    std::vector<std::string>* notes = nullptr)
{
    std::istringstream stream(text);
    return ages::parseTrackLengths(stream, "lengths.csv", plainSample, notes);
}

std::string refusal(const std::string& text, const std::optional<std::string>& plainSample = {})
{
    try {
        parse(text, plainSample);
    } catch (const TrackLengthsError& error) {
        return error.what();
    }
    return "accepted";
}

// The projections of Donelick et al. (1999) as Ketcham et al. (2007) give them.
TEST(TrackLengthFile, TracksWithAnAngleAreProjectedOntoTheCAxis)
{
    const auto samples = parse("Sample,Length_UM,ANGLE_deg\n"
                               "S1,15,35\n"
                               "S1,12.73,78.45\n"
                               "S1,10.94,70.21\n"
                               "S1,13.5,\n");
    ASSERT_EQ(samples.size(), 1u);
    ASSERT_EQ(samples[0].projectedUm.size(), 3u);
    EXPECT_NEAR(samples[0].projectedUm[0], 15.405679, 1e-5);
    EXPECT_NEAR(samples[0].projectedUm[1], 14.430423, 1e-5);
    EXPECT_NEAR(samples[0].projectedUm[2], 13.236076, 1e-5);
    ASSERT_EQ(samples[0].unprojectedUm.size(), 1u); // no angle: compared unprojected
    EXPECT_EQ(samples[0].unprojectedUm[0], 13.5);
    EXPECT_EQ(samples[0].trackCount(), 4u);
    EXPECT_EQ(samples[0].firstLine, 2);
}

TEST(TrackLengthFile, SamplesKeepTheOrderOfTheirFirstTrackAndTheMeanDparOfTheirTracks)
{
    std::vector<std::string> notes;
    const auto samples = parse("# confined tracks\n"
                               "grain,dpar_um,length_um,sample\n"
                               "1,1.8,14.1,B\n"
                               "2,,13.2,A\n"
                               "3,2.2,12.9,B\n",
        std::nullopt, &notes);
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].sample, "B");
    EXPECT_EQ(samples[1].sample, "A");
    EXPECT_DOUBLE_EQ(*samples[0].dparUm, 2.0);
    EXPECT_FALSE(samples[1].dparUm);
    EXPECT_EQ(samples[0].unprojectedUm, (std::vector<double> { 14.1, 12.9 }));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("ignored columns: grain"), std::string::npos) << notes[0];
}

TEST(TrackLengthFile, ThePlainFormIsOneSampleOfLengthAngleAndDparPerLine)
{
    const auto samples = parse("# MRT009\n14.2\n15 35\n\n12.1\t60 1.9\r\n", "MRT009");
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0].sample, "MRT009");
    EXPECT_EQ(samples[0].unprojectedUm, (std::vector<double> { 14.2 }));
    ASSERT_EQ(samples[0].projectedUm.size(), 2u);
    EXPECT_NEAR(samples[0].projectedUm[0], 15.405679, 1e-5);
    EXPECT_DOUBLE_EQ(*samples[0].dparUm, 1.9);
}

TEST(TrackLengthFile, LengthsTheModelCannotMakeAreRefusedNamingTheirLine)
{
    EXPECT_EQ(refusal("sample,length_um\nS,14\nS,2.1\n"),
        "lengths.csv line 3: length 2.1 um is below 2.15 um, shorter than any track the model "
        "lets be measured");
    EXPECT_EQ(refusal("14\n20.5\n", "S"),
        "lengths.csv line 2: length 20.5 um is beyond 20 um, longer than any apatite track");
    EXPECT_EQ(refusal("sample,length_um,angle_deg\nS,14,95\n"),
        "lengths.csv line 2: angle_deg 95 is outside 0 to 90 degrees to the c axis");
    EXPECT_EQ(refusal("sample,length_um,dpar_um\nS,14,0\n"),
        "lengths.csv line 2: dpar_um 0 must be positive");
}

TEST(TrackLengthFile, FilesThatAreNotOfLengthsAreRefusedAsAWhole)
{
    EXPECT_EQ(refusal("sample,length\nS,14\n"),
        "lengths.csv line 1: unknown column 'length': did you mean length_um?");
    EXPECT_EQ(refusal("sample,lenght_um\nS,14\n"),
        "lengths.csv line 1: unknown column 'lenght_um': did you mean length_um?");
    EXPECT_EQ(refusal("sample;length_um\nS;14\n"),
        "lengths.csv line 1: the header is separated by semicolons, not commas: save the file as "
        "CSV with commas between the fields");
    EXPECT_EQ(
        refusal("sample,length_um\nS,14,3\n"), "lengths.csv line 2: has 3 fields, the header 2");
    EXPECT_EQ(refusal("sample,length_um\nS,14um\n"),
        "lengths.csv line 2: length_um is not a number: '14um'");
    EXPECT_EQ(refusal("sample,length_um\n,14\n"), "lengths.csv line 2: the sample name is empty");
    EXPECT_EQ(refusal("sample,length_um\n"), "lengths.csv: no track lengths");
    EXPECT_EQ(refusal("14.2\n13.1\n"),
        "lengths.csv line 1: the header lacks the required column sample (required: sample, "
        "length_um; optional: angle_deg, dpar_um; found: 14.2); a file of lengths alone takes "
        "--lengths-sample NAME");
    // The plain form has no header: a CSV given with --lengths-sample says what to do.
    EXPECT_EQ(refusal("length_um,angle_deg\n14,30\n", "S"),
        "lengths.csv line 1: length_um is not a number: 'length_um,angle_deg' (the plain form of "
        "--lengths-sample has no header; a CSV with a header takes --lengths without "
        "--lengths-sample)");
    EXPECT_EQ(refusal("14 30 1.8 7\n", "S"),
        "lengths.csv line 1: has 4 words: a line of the plain form is length_um [angle_deg "
        "[dpar_um]]");
    EXPECT_EQ(refusal("14\n", std::string()), "--lengths-sample: the sample name is empty");
}

} // namespace
