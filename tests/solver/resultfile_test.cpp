#include "resultfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

class ResultFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "resultfile_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const char* name) const { return (m_dir / name).string(); }

    static std::string contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path m_dir;
};

} // namespace

TEST_F(ResultFileTest, IsothermNotFoundIsWrittenAsNaN)
{
    wholefile::ReplacementGroup pending;
    erosion::ResultFile out(pending);
    ASSERT_TRUE(out.open(path("iso").c_str()));
    out.writeIsothermPair(0, -2400.0);
    out.writeIsothermPair(1, 0.0);
    out.writeIsothermPair(2, -0.0);
    out.writeIsothermPair(3, std::numeric_limits<double>::quiet_NaN());
    out.close();
    ASSERT_FALSE(pending.commit());
    EXPECT_EQ(contents(path("iso")), " 0 -2400. 1 NaN 2 NaN 3 nan");
}

TEST_F(ResultFileTest, FailedOpenRefusesEveryLaterFileUntouched)
{
    wholefile::ReplacementGroup pending;
    erosion::ResultFile out(pending);
    EXPECT_FALSE(out.open(path("missing/dir/file").c_str()));
    EXPECT_TRUE(out.failed());
    std::ofstream(path("kept")) << "kept";
    EXPECT_FALSE(out.open(path("kept").c_str()));
    EXPECT_EQ(contents(path("kept")), "kept");
    EXPECT_FALSE(out.open(path("new").c_str()));
    EXPECT_FALSE(fs::exists(path("new")));
}

TEST_F(ResultFileTest, FailedWriteOutIsRememberedAfterClose)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full to fill";
    wholefile::ReplacementGroup pending;
    erosion::ResultFile out(pending);
    ASSERT_TRUE(out.open("/dev/full"));
    out.writeLine(1.0);
    out.close();
    EXPECT_TRUE(out.failed());
    EXPECT_FALSE(out.open(path("next").c_str()));
    EXPECT_FALSE(fs::exists(path("next")));
}
