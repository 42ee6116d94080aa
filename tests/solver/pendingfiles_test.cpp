// The run's files held back as temporaries and put in place together. (Failed and interrupted
// runs, which discard them, are tested on the program itself.)

#include "pendingfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;
using erosion::PendingFiles;

namespace {

class PendingFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "pendingfiles_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        std::ofstream(m_dir / "a") << "old a";
        std::ofstream(m_dir / "target") << "old target";
        fs::create_symlink(m_dir / "target", m_dir / "link");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const char* name) const { return (m_dir / name).string(); }

    // Name -> contents of every entry in the directory (a link as its target).
    std::map<std::string, std::string> entries() const
    {
        std::map<std::string, std::string> found;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_symlink()) {
                found[name] = "-> " + fs::read_symlink(entry.path()).filename().string();
                continue;
            }
            std::ifstream in(entry.path());
            std::ostringstream text;
            text << in.rdbuf();
            found[name] = text.str();
        }
        return found;
    }

    // Writes text to a new pending file for name.
    void writePending(PendingFiles& pending, const char* name, const std::string& text)
    {
        const int fd = pending.create(path(name));
        ASSERT_GE(fd, 0) << name;
        ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
    }

    fs::path m_dir;
};

} // namespace

TEST_F(PendingFilesTest, NothingChangesUntilCommitThenEverythingDoes)
{
    const auto before = entries();
    PendingFiles pending;
    writePending(pending, "a", "new a");
    writePending(pending, "b", "new b");
    writePending(pending, "link", "new target"); // the link stays, the file it names is replaced
    for (const auto& [name, text] : before)
        EXPECT_EQ(entries()[name], text) << name;

    EXPECT_FALSE(pending.commit());
    EXPECT_EQ(entries(),
        (std::map<std::string, std::string> { { "a", "new a" }, { "b", "new b" },
            { "link", "-> target" }, { "target", "new target" } }));
}

TEST_F(PendingFilesTest, DeviceIsWrittenInPlace)
{
    fs::create_symlink("/dev/null", m_dir / "discard");
    const auto target = erosion::replacementTargetOf(path("discard"));
    EXPECT_TRUE(target.inPlace);
    EXPECT_EQ(target.path, "/dev/null");
    EXPECT_FALSE(erosion::replacementTargetOf(path("link")).inPlace);
    EXPECT_FALSE(erosion::replacementTargetOf(path("missing")).inPlace);
}
