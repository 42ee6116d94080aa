#include "numberword.h"
#include "outputfiles.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <limits>

using namespace periodic;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

std::string contents(const std::filesystem::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>() };
}

int fileCount(const std::filesystem::path& directory)
{
    return static_cast<int>(std::distance(
        std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator()));
}

} // namespace

TEST(NumberWord, SixSignificantDigitsInPlainDecimalWords)
{
    EXPECT_EQ(numberWord(-20000.0), "-20000");
    EXPECT_EQ(numberWord(-11408.0789), "-11408.1");
    EXPECT_EQ(numberWord(0.05), "0.05");
    EXPECT_EQ(numberWord(1234567.0), "1.23457e+06");
    EXPECT_EQ(numberWord(6.123e-14), "6.123e-14");
    EXPECT_EQ(numberWord(-0.0), "0");
    EXPECT_EQ(numberWord(notANumber), "NaN");
}

TEST(PairText, OnePairPerLineAndNothingAfterTheLastWord)
{
    EXPECT_EQ(pairText({ { -100, -3000 }, { 0, notANumber }, { 100, -2900.5 } }),
        "-100 -3000\n0 NaN\n100 -2900.5");
    EXPECT_EQ(pairText({}), "");
}

TEST(WriteFiles, WritesEveryFileWithoutLeavingTemporaries)
{
    TemporaryDirectory tree;
    const std::vector<OutputFile> files { { tree.path() / "a.dat", { { 1, 2 } } },
        { tree.path() / "b.dat", { { 3, notANumber }, { 4, 5 } } } };
    writeFiles(files);
    EXPECT_EQ(contents(tree.path() / "a.dat"), "1 2");
    EXPECT_EQ(contents(tree.path() / "b.dat"), "3 NaN\n4 5");
    EXPECT_EQ(fileCount(tree.path()), 2);
}

TEST(WriteFiles, AMissingDirectoryIsNamedAndNothingIsWritten)
{
    TemporaryDirectory tree;
    std::ofstream(tree.path() / "a.dat") << "old";
    const std::vector<OutputFile> files { { tree.path() / "a.dat", { { 1, 2 } } },
        { tree.path() / "absent" / "b.dat", { { 3, 4 } } } };
    try {
        writeFiles(files);
        FAIL() << "no error for a missing directory";
    } catch (const OutputError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("do the directories exist?"), std::string::npos) << message;
        EXPECT_NE(message.find("absent"), std::string::npos) << message;
    }
    EXPECT_EQ(contents(tree.path() / "a.dat"), "old");
    EXPECT_EQ(fileCount(tree.path()), 1);
}

TEST(WriteFiles, AFileThatCannotBeWrittenLeavesEveryOldFileAsItWas)
{
    TemporaryDirectory tree;
    std::ofstream(tree.path() / "a.dat") << "old a";
    // b is a link into a directory that does not exist: its temporary cannot be created, after
    // a's was written.
    std::filesystem::create_symlink("absent/b.dat", tree.path() / "b.dat");
    const std::vector<OutputFile> files { { tree.path() / "a.dat", { { 1, 2 } } },
        { tree.path() / "b.dat", { { 3, 4 } } } };
    EXPECT_THROW(writeFiles(files), OutputError);
    EXPECT_EQ(contents(tree.path() / "a.dat"), "old a");
    EXPECT_TRUE(std::filesystem::is_symlink(tree.path() / "b.dat"));
    EXPECT_EQ(fileCount(tree.path()), 2) << "a's temporary file is removed";
}
