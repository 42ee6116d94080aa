#pragma once
// Replacing whole files, alone or several together, so that no reader ever finds one
// half-written.
//
//     wholefile::ReplacementGroup group;
//     group.write("a.dat", [&](std::ostream& out) { out << ...; });   // or create() for a raw fd
//     group.write("b.dat", ...);
//     if (const auto failure = group.commit()) ...   // every file renamed into place, in order
//
// The new text of each file goes to a temporary beside it (hidden, in the same directory, so that
// the final rename stays on one file system and is atomic), and only commit() renames the
// temporaries over their files. Until then the previous files stay as they were; a group that is
// discarded, abandoned or destroyed uncommitted removes its temporaries. A replacement keeps the
// permissions of the file it replaces.
//
// A link is followed, so that the link stays and the file it names is replaced. A path that names
// something other than a regular file (a device such as /dev/null, a pipe) holds nothing to keep
// whole and has nowhere beside it for a temporary: it is opened and written in place.
//
// Temporaries are named ".NAME.PID-N.tmp" beside NAME, N counting the temporaries of the process,
// so that no two share a name and those of a process killed outright can be recognised and
// removed later.

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace wholefile {

// Where the text for a path goes in the end.
struct ReplacementTarget {
    std::string path; // the file to replace: the path itself, or the file its link names
    bool inPlace = false; // not a regular file (a device, a pipe): written directly
};
ReplacementTarget replacementTargetOf(const std::string& path);

// The index-th temporary of this process, for target.
std::filesystem::path temporaryPathOf(const std::filesystem::path& target, int index);

// Removes the temporaries beside path's target that processes ended outright (SIGKILL, a power
// cut) left behind: those of its name whose process no longer exists. A live process's are kept.
void removeAbandonedTemporaries(const std::string& path);

// A file that could not be replaced: the path as the caller named it, the step that failed and
// the system's error number.
struct ReplacementFailure {
    enum class Step { create, write, rename };
    std::string path;
    Step step = Step::create;
    int error = 0;
};

// Writes the whole text of a file to out.
using TextWriter = std::function<void(std::ostream& out)>;

class ReplacementGroup {
public:
    // Every group of the process is listed while it lives, for abandonEveryGroup().
    ReplacementGroup();
    ReplacementGroup(const ReplacementGroup&) = delete;
    ReplacementGroup& operator=(const ReplacementGroup&) = delete;
    // Removes whatever was not committed.
    ~ReplacementGroup();

    // Opens a new temporary for path (or the device itself, see above) for writing: a file
    // descriptor the caller writes and closes, or -1 with errno set.
    int create(const std::string& path);

    // Creates the temporary for path and writes write's text to it. The failure, if any: the
    // temporary stays listed and is removed with the others by discard() or the destructor. An
    // exception of write passes through.
    std::optional<ReplacementFailure> write(const std::string& path, const TextWriter& write);

    // Renames every temporary onto its file, in the order they were created. On a failure the
    // rest are removed and the failure returned (the files renamed before it stay replaced).
    std::optional<ReplacementFailure> commit();

    // Removes every temporary created so far; later creations are still allowed.
    void discard();

    // Removes every temporary and refuses any later creation (ECANCELED): for a run being
    // interrupted. May be called from another thread while the group is in use.
    void abandon();

private:
    struct Entry {
        std::string path;
        std::string target;
        std::string temporary;
    };

    void removeAll(); // with m_mutex held

    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
    bool m_abandoned = false;
};

// One file replaced on its own: a group of one, written and committed.
// Abandons every group of the process that is alive now: the cleanup of an interruption (SIGTERM
// while a program writes) where the run's groups are local to the functions that fill them.
void abandonEveryGroup();

std::optional<ReplacementFailure> replaceWholeFile(
    const std::string& path, const TextWriter& write);

} // namespace wholefile
