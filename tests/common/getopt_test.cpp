#include "getopt.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// An argument vector ("prog" first) and a fresh scan over it.
class Scan {
public:
    explicit Scan(std::vector<std::string> words)
        : m_words(std::move(words))
    {
        m_words.insert(m_words.begin(), "prog");
        for (auto& word : m_words)
            m_argv.push_back(word.data());
        m_argv.push_back(nullptr);
        optscan::optind = 1;
        optscan::optreset = 1;
    }

    int next()
    {
        return optscan::getopt(static_cast<int>(m_words.size()), m_argv.data(), "hvz:T:o:");
    }

    // The result of the next call and what it wrote to standard error.
    std::pair<int, std::string> nextWithMessage()
    {
        testing::internal::CaptureStderr();
        const int result = next();
        return { result, testing::internal::GetCapturedStderr() };
    }

private:
    std::vector<std::string> m_words;
    std::vector<char*> m_argv;
};

using Message = std::pair<int, std::string>;

} // namespace

TEST(Getopt, GroupedFlagsAreReadOneLetterPerCall)
{
    Scan scan({ "-hv", "-h" });
    EXPECT_EQ(scan.next(), 'h');
    EXPECT_EQ(optscan::optind, 1); // still inside -hv
    EXPECT_EQ(scan.next(), 'v');
    EXPECT_EQ(scan.next(), 'h');
    EXPECT_EQ(scan.next(), -1);
    EXPECT_EQ(optscan::optind, 3);
}

TEST(Getopt, ArgumentIsAlwaysTheWholeNextWord)
{
    Scan scan({ "-T", "-5", "-z50000", "-o", "-Th", "1", "7" });
    EXPECT_EQ(scan.next(), 'T');
    EXPECT_STREQ(optscan::optarg, "-5"); // taken although it begins with a dash
    EXPECT_EQ(scan.next(), 'z');
    EXPECT_STREQ(optscan::optarg, "-o"); // the digits glued to -z are dropped unread
    EXPECT_EQ(scan.next(), 'T'); // and so is the h after T
    EXPECT_STREQ(optscan::optarg, "1");
    EXPECT_EQ(scan.next(), -1); // "7" is not an option word
    EXPECT_EQ(optscan::optind, 7);
}

TEST(Getopt, ScanEndsAtAWordThatIsNotAnOptionOrBeginsWithTwoDashes)
{
    for (const char* first : { "file", "-" }) {
        Scan scan({ first, "-z", "100" });
        EXPECT_EQ(scan.next(), -1) << first;
        EXPECT_EQ(optscan::optind, 1) << first; // left on that word
    }
    for (const char* first : { "--", "--help", "---" }) {
        Scan scan({ first, "-z", "100" });
        EXPECT_EQ(scan.next(), -1) << first;
        EXPECT_EQ(optscan::optind, 2) << first; // consumed
    }
    EXPECT_EQ(Scan({}).next(), -1);
}

TEST(Getopt, ErrorsNameWordAndCharacterAndSetOptopt)
{
    // An unknown letter does not end its word.
    Scan unknown({ "-xh" });
    EXPECT_EQ(unknown.nextWithMessage(),
        Message('?', "Error in argument 1, char 2: option not found x\n"));
    EXPECT_EQ(optscan::optopt, 'x');
    EXPECT_EQ(unknown.next(), 'h');

    // A colon among flags discards the rest of its word.
    Scan colon({ "-h:v", "-v" });
    EXPECT_EQ(colon.next(), 'h');
    EXPECT_EQ(colon.nextWithMessage(), Message('?', "Error in argument 1, char 3: : in flags\n"));
    EXPECT_EQ(optscan::optopt, ':');
    EXPECT_EQ(colon.next(), 'v');
    EXPECT_EQ(colon.next(), -1);

    Scan missing({ "-h", "-hz" });
    missing.next();
    missing.next();
    EXPECT_EQ(missing.nextWithMessage(),
        Message('?', "Error in argument 2, char 3: no argument for option z\n"));
    EXPECT_EQ(optscan::optopt, 'z');
    EXPECT_EQ(missing.next(), -1);
}

TEST(Getopt, OpterrZeroSilencesMessagesOnly)
{
    Scan scan({ "-x" });
    optscan::opterr = 0;
    const auto result = scan.nextWithMessage();
    optscan::opterr = 1;
    EXPECT_EQ(result, Message('?', ""));
    EXPECT_EQ(optscan::optopt, 'x');

    std::string word = "-\xe9"; // optopt holds a signed char
    char* argv[] = { word.data(), nullptr };
    testing::internal::CaptureStderr();
    EXPECT_EQ(optscan::optiserr(1, argv, 0, "", 1, 7), '?');
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error in argument 0, char 2: unknown\n");
    EXPECT_EQ(optscan::optopt, static_cast<signed char>('\xe9'));
}

TEST(Getopt, OptresetForgetsTheWordButKeepsOptind)
{
    Scan scan({ "-hv", "-T", "1" });
    EXPECT_EQ(scan.next(), 'h');
    optscan::optind = 2;
    optscan::optreset = 1; // without it the scanner would read char 2 of "-T"
    EXPECT_EQ(scan.next(), 'T');
    EXPECT_EQ(optscan::optreset, 0);
    EXPECT_STREQ(optscan::optarg, "1");
}

TEST(Getopt, ErrorsGoWhereErrorOutputPoints)
{
    Scan scan({ "-x" });
    std::ostringstream captured;
    optscan::errorOutput = &captured;
    testing::internal::CaptureStderr();
    const int result = scan.next();
    const std::string onStandardError = testing::internal::GetCapturedStderr();
    optscan::errorOutput = &std::cerr;
    EXPECT_EQ(result, '?');
    EXPECT_EQ(captured.str(), "Error in argument 1, char 2: option not found x\n");
    EXPECT_EQ(onStandardError, "");

    std::ostringstream hint;
    optscan::printHelpHint("prog", hint);
    EXPECT_EQ(hint.str(), "Try `prog -h' for more information.\n");
}
