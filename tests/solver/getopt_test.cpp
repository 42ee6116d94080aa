#include "getopt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An argument vector the scanner can walk, with a fresh scan state for each test.
class Scan {
public:
    explicit Scan(std::vector<std::string> words, int opterr = 1)
        : m_words(std::move(words))
    {
        m_words.insert(m_words.begin(), "prog");
        for (auto& word : m_words)
            m_argv.push_back(word.data());
        m_argv.push_back(nullptr);
        erosion::optind = 1;
        erosion::optreset = 1;
        erosion::opterr = opterr;
        erosion::optopt = 0;
        erosion::optarg = nullptr;
    }
    ~Scan() { erosion::opterr = 1; }

    int next(const char* optstring = "hvz:T:o:")
    {
        return erosion::getopt(argc(), m_argv.data(), optstring);
    }
    int argc() const { return static_cast<int>(m_words.size()); }

private:
    std::vector<std::string> m_words;
    std::vector<char*> m_argv;
};

// Standard error of one call, which the scanner writes with stdio.
std::string stderrOf(Scan& scan, int& result)
{
    testing::internal::CaptureStderr();
    result = scan.next();
    return testing::internal::GetCapturedStderr();
}

} // namespace

TEST(Getopt, GroupedFlagsAreReadOneLetterPerCall)
{
    Scan scan({ "-hv", "-h" });
    EXPECT_EQ(scan.next(), 'h');
    EXPECT_EQ(erosion::optind, 1); // still inside -hv
    EXPECT_EQ(scan.next(), 'v');
    EXPECT_EQ(erosion::optind, 2);
    EXPECT_EQ(scan.next(), 'h');
    EXPECT_EQ(scan.next(), -1);
    EXPECT_EQ(erosion::optind, 3);
}

TEST(Getopt, ArgumentIsAlwaysTheWholeNextWord)
{
    Scan scan({ "-T", "-5", "-z50000", "-o", "7" });
    EXPECT_EQ(scan.next(), 'T');
    EXPECT_STREQ(erosion::optarg, "-5"); // taken although it begins with a dash
    EXPECT_EQ(scan.next(), 'z');
    EXPECT_STREQ(erosion::optarg, "-o"); // the digits glued to -z are dropped unread
    EXPECT_EQ(erosion::optind, 5);
    EXPECT_EQ(scan.next(), -1);          // "7" is not an option word
    EXPECT_EQ(erosion::optind, 5);
}

TEST(Getopt, LettersAfterAnArgumentOptionInItsWordAreDropped)
{
    Scan scan({ "-Tz", "5", "-h" });
    EXPECT_EQ(scan.next(), 'T');
    EXPECT_STREQ(erosion::optarg, "5");
    EXPECT_EQ(scan.next(), 'h');
}

TEST(Getopt, ScanEndsAtTheFirstWordThatIsNotAnOption)
{
    for (const char* first : { "file", "-" }) {
        Scan scan({ first, "-z", "100" });
        EXPECT_EQ(scan.next(), -1) << first;
        EXPECT_EQ(erosion::optind, 1) << first; // left on that word
    }
    Scan empty({});
    EXPECT_EQ(empty.next(), -1);
}

TEST(Getopt, AnyWordBeginningWithTwoDashesEndsTheScanAndIsConsumed)
{
    for (const char* first : { "--", "--help", "---" }) {
        Scan scan({ first, "-z", "100" });
        EXPECT_EQ(scan.next(), -1) << first;
        EXPECT_EQ(erosion::optind, 2) << first;
    }
}

TEST(Getopt, UnknownLetterIsReportedAndTheWordReadOn)
{
    Scan scan({ "-xh" });
    int result = 0;
    EXPECT_EQ(stderrOf(scan, result), "Error in argument 1, char 2: option not found x\n");
    EXPECT_EQ(result, '?');
    EXPECT_EQ(erosion::optopt, 'x');
    EXPECT_EQ(scan.next(), 'h'); // an unknown letter does not end its word
    EXPECT_EQ(scan.next(), -1);
}

TEST(Getopt, ColonInFlagsIsReportedAndDiscardsTheRestOfTheWord)
{
    Scan scan({ "-h:v", "-v" });
    EXPECT_EQ(scan.next(), 'h');
    int result = 0;
    EXPECT_EQ(stderrOf(scan, result), "Error in argument 1, char 3: : in flags\n");
    EXPECT_EQ(result, '?');
    EXPECT_EQ(erosion::optopt, ':');
    EXPECT_EQ(erosion::optind, 2);
    EXPECT_EQ(scan.next(), 'v'); // the v after the colon was discarded with its word
    EXPECT_EQ(scan.next(), -1);
}

TEST(Getopt, MissingArgumentInTheLastWordIsReported)
{
    Scan scan({ "-h", "-hz" });
    EXPECT_EQ(scan.next(), 'h');
    EXPECT_EQ(scan.next(), 'h');
    int result = 0;
    EXPECT_EQ(stderrOf(scan, result), "Error in argument 2, char 3: no argument for option z\n");
    EXPECT_EQ(result, '?');
    EXPECT_EQ(erosion::optopt, 'z');
    EXPECT_EQ(erosion::optind, 3);
    EXPECT_EQ(scan.next(), -1);
}

TEST(Getopt, OpterrZeroSilencesMessagesButStillRecordsTheError)
{
    Scan scan({ "-x" }, 0);
    int result = 0;
    EXPECT_EQ(stderrOf(scan, result), "");
    EXPECT_EQ(result, '?');
    EXPECT_EQ(erosion::optopt, 'x');
}

TEST(Getopt, OptresetForgetsTheWordButKeepsOptind)
{
    Scan scan({ "-hv", "-T", "1" });
    EXPECT_EQ(scan.next(), 'h');
    erosion::optind = 2;
    erosion::optreset = 1; // without it the scanner would read char 2 of "-T"
    EXPECT_EQ(scan.next(), 'T');
    EXPECT_EQ(erosion::optreset, 0);
    EXPECT_STREQ(erosion::optarg, "1");
}

TEST(Optiserr, OptoptIsTheOffendingCharacterAsASignedChar)
{
    std::string word = "-\xe9";
    char* argv[] = { word.data(), nullptr };
    testing::internal::CaptureStderr();
    EXPECT_EQ(erosion::optiserr(1, argv, 0, "", 1, 7), '?');
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error in argument 0, char 2: unknown\n");
    EXPECT_EQ(erosion::optopt, static_cast<int>(static_cast<signed char>('\xe9')));
}
