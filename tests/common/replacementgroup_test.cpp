// Whole files replaced alone or together: held back as temporaries and put in place at once.
// (Interrupted runs, which abandon them, are tested on transient_erosion itself; here the
// abandoning of every living group, which cooling_ages's cleanup calls.)

#include "replacementgroup.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;
using wholefile::ReplacementFailure;
using wholefile::ReplacementGroup;

namespace {

class ReplacementGroupTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "replacementgroup_test_XXXXXX").string();
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

    // Writes text to a new temporary of the group for name.
    void writePending(ReplacementGroup& pending, const char* name, const std::string& text)
    {
        const int fd = pending.create(path(name));
        ASSERT_GE(fd, 0) << name;
        ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
    }

    fs::path m_dir;
};

} // namespace

TEST_F(ReplacementGroupTest, NothingChangesUntilCommitThenEverythingDoes)
{
    const auto before = entries();
    ReplacementGroup pending;
    writePending(pending, "a", "new a");
    EXPECT_FALSE(pending.write(path("b"), [](std::ostream& out) { out << "new b"; }));
    writePending(pending, "link", "new target"); // the link stays, the file it names is replaced
    for (const auto& [name, text] : before)
        EXPECT_EQ(entries()[name], text) << name;

    EXPECT_FALSE(pending.commit());
    EXPECT_EQ(entries(),
        (std::map<std::string, std::string> { { "a", "new a" }, { "b", "new b" },
            { "link", "-> target" }, { "target", "new target" } }));
}

TEST_F(ReplacementGroupTest, DeviceIsWrittenInPlace)
{
    fs::create_symlink("/dev/null", m_dir / "discard");
    const auto target = wholefile::replacementTargetOf(path("discard"));
    EXPECT_TRUE(target.inPlace);
    EXPECT_EQ(target.path, "/dev/null");
    EXPECT_FALSE(wholefile::replacementTargetOf(path("link")).inPlace);
    EXPECT_FALSE(wholefile::replacementTargetOf(path("missing")).inPlace);

    const auto before = entries();
    EXPECT_FALSE(wholefile::replaceWholeFile(path("discard"), [](std::ostream& out) {
        out << std::string(100000, 'x'); // past the buffer: written, not held back
    }));
    EXPECT_EQ(entries(), before); // the link stays a link, and no temporary beside it
}

TEST_F(ReplacementGroupTest, AFailureNamesItsStepAndLeavesEveryFileAsItWas)
{
    fs::create_directory(m_dir / "directory");
    fs::create_symlink("absent/file", m_dir / "nowhere");
    fs::create_symlink("/dev/full", m_dir / "full");
    const auto failingWriter = [](std::ostream& out) {
        out << "part of a table";
        out.setstate(std::ios::badbit);
    };
    const auto text = [](std::ostream& out) { out << "new"; };
    const struct {
        const char* name;
        wholefile::TextWriter writer;
        ReplacementFailure::Step step;
        int error;
    } cases[] = {
        { "nowhere", text, ReplacementFailure::Step::create, ENOENT }, // link into no directory
        { "a", failingWriter, ReplacementFailure::Step::write, EIO },
        { "full", text, ReplacementFailure::Step::write, ENOSPC }, // a device, written in place
        { "directory", text, ReplacementFailure::Step::rename, EISDIR },
    };
    for (const auto& c : cases) {
        const auto before = entries();
        std::optional<ReplacementFailure> failure;
        {
            ReplacementGroup group;
            failure = group.write(path(c.name), c.writer);
            if (!failure) {
                writePending(group, "target", "new target"); // renamed after the failing one
                failure = group.commit();
            }
        }
        ASSERT_TRUE(failure) << c.name;
        EXPECT_EQ(failure->path, path(c.name));
        EXPECT_EQ(failure->step, c.step) << c.name;
        EXPECT_EQ(failure->error, c.error) << c.name;
        EXPECT_EQ(entries(), before) << c.name << ": a file changed or a temporary is left";
    }
}

// What an interruption's cleanup does when it cannot reach the run's groups: every living group
// loses its temporaries and refuses new ones, and the files stay as they were; a group already
// gone is not touched.
TEST_F(ReplacementGroupTest, AbandoningEveryGroupRemovesEveryLivingGroupsTemporaries)
{
    const auto before = entries();
    {
        ReplacementGroup gone;
        writePending(gone, "a", "never");
    }
    ReplacementGroup first;
    ReplacementGroup second;
    writePending(first, "a", "new a");
    writePending(second, "link", "new target");
    EXPECT_EQ(entries().size(), before.size() + 2);

    wholefile::abandonEveryGroup();
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(first.create(path("b")), -1);
    EXPECT_EQ(errno, ECANCELED);
    EXPECT_FALSE(first.commit());
    EXPECT_EQ(entries(), before);
}
