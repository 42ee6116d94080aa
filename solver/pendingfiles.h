#pragma once
// The files a run replaces, held back until all of them are complete.
//
// Each result file is written to a temporary beside the file it replaces (a hidden name in the
// same directory, so that the final rename stays on one file system and is atomic), and only
// when every file of the run is complete are they all renamed into place. A run that fails, or
// is interrupted, removes its temporaries instead: the previous run's files stay as they were.
//
// A result path that names a device or a pipe (a link to /dev/null to throw a large table away,
// say) has nothing to replace: it is opened and written in place. A link to a regular file is
// followed, so that the link stays and the file it names is replaced.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace erosion {

// Where the text for a result path goes in the end.
struct ReplacementTarget {
    std::string path; // the file to replace: the result path, or the file its link names
    bool inPlace = false; // a device or a pipe, written directly
};
ReplacementTarget replacementTargetOf(const std::string& resultPath);

// Removes the temporaries that runs ended outright (SIGKILL, a power cut) left beside
// resultPath: those of its name whose process no longer exists. A live process's are kept.
void removeStaleTemporaries(const std::string& resultPath);

class PendingFiles {
public:
    // A file that could not be put in place: the result path and the system's error number.
    struct Failure {
        std::string path;
        int error = 0;
    };

    PendingFiles() = default;
    PendingFiles(const PendingFiles&) = delete;
    PendingFiles& operator=(const PendingFiles&) = delete;
    // Removes whatever was not committed.
    ~PendingFiles();

    // Opens a new temporary for resultPath (or the device itself, see above) for writing. A file
    // descriptor, or -1 with errno set.
    int create(const std::string& resultPath);

    // Renames every temporary onto its file. On a failure the rest are removed and the first
    // failure returned.
    std::optional<Failure> commit();

    // Removes every temporary created so far; later creations are still allowed.
    void discard();

    // Removes every temporary and refuses any later creation: for a run being interrupted (may
    // be called from another thread while the run goes on).
    void abandon();

private:
    struct Entry {
        std::string resultPath;
        std::string target;
        std::string temporary;
    };

    void removeAll(); // with m_mutex held

    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries;
    bool m_abandoned = false;
    int m_created = 0; // for unique temporary names within the run
};

} // namespace erosion
