#include "pendingfiles.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace erosion {

namespace fs = std::filesystem;

ReplacementTarget replacementTargetOf(const std::string& resultPath)
{
    std::error_code error;
    ReplacementTarget target { resultPath, false };
    if (fs::is_symlink(fs::symlink_status(resultPath, error))) {
        // A link is followed to the file it names (which need not exist yet).
        const fs::path named = fs::weakly_canonical(resultPath, error);
        if (!error)
            target.path = named.string();
    }
    const fs::file_status status = fs::status(target.path, error);
    target.inPlace = fs::is_character_file(status) || fs::is_block_file(status)
        || fs::is_fifo(status) || fs::is_socket(status);
    return target;
}

namespace {

// The temporary of target for this process's index-th file: ".name.<pid>-<index>.tmp", hidden
// and beside it.
constexpr std::string_view temporarySuffix = ".tmp";

std::string temporaryPrefix(const fs::path& target)
{
    std::string prefix(1, '.');
    prefix += target.filename().string();
    prefix += '.';
    return prefix;
}

// The process id in a temporary's name made by temporaryPrefix, or 0 when it is not one.
pid_t processOfTemporary(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() + temporarySuffix.size() || name.rfind(prefix, 0) != 0
        || !name.ends_with(temporarySuffix))
        return 0;
    pid_t pid = 0;
    const char* first = name.data() + prefix.size();
    const auto [end, error] = std::from_chars(first, name.data() + name.size(), pid);
    return error == std::errc() && end != first && *end == '-' ? pid : 0;
}

} // namespace

void removeStaleTemporaries(const std::string& resultPath)
{
    const ReplacementTarget target = replacementTargetOf(resultPath);
    if (target.inPlace)
        return;
    const fs::path targetPath(target.path);
    const std::string prefix = temporaryPrefix(targetPath);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(targetPath.parent_path(), error)) {
        const pid_t pid = processOfTemporary(entry.path().filename().string(), prefix);
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            ::unlink(entry.path().c_str());
    }
}

PendingFiles::~PendingFiles()
{
    discard();
}

int PendingFiles::create(const std::string& resultPath)
{
    const ReplacementTarget target = replacementTargetOf(resultPath);
    if (target.inPlace)
        return ::open(target.path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);

    const fs::path targetPath(target.path);
    const std::lock_guard lock(m_mutex);
    if (m_abandoned) {
        errno = ECANCELED;
        return -1;
    }
    // Hidden, beside the target, unique to this process and this file of the run.
    std::string name = temporaryPrefix(targetPath);
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(m_created++);
    name += temporarySuffix;
    const std::string temporary = (targetPath.parent_path() / name).string();
    // Listed before it exists, so that an interruption from now on removes it.
    m_entries.push_back({ resultPath, target.path, temporary });
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    int fd = ::open(temporary.c_str(), flags, 0666);
    if (fd < 0 && errno == EEXIST) {
        // Left by an earlier process of the same id that was killed outright: ours to remove.
        ::unlink(temporary.c_str());
        fd = ::open(temporary.c_str(), flags, 0666);
    }
    if (fd < 0) {
        const int error = errno;
        m_entries.pop_back();
        errno = error;
        return -1;
    }
    // The replacement keeps the permissions of the file it replaces.
    struct stat previous { };
    if (::stat(target.path.c_str(), &previous) == 0 && S_ISREG(previous.st_mode))
        ::fchmod(fd, previous.st_mode & 07777);
    return fd;
}

std::optional<PendingFiles::Failure> PendingFiles::commit()
{
    const std::lock_guard lock(m_mutex);
    std::optional<Failure> failure;
    for (const Entry& entry : m_entries) {
        if (failure) {
            ::unlink(entry.temporary.c_str());
            continue;
        }
        if (::rename(entry.temporary.c_str(), entry.target.c_str()) != 0) {
            failure = Failure { entry.resultPath, errno };
            ::unlink(entry.temporary.c_str());
        }
    }
    m_entries.clear();
    return failure;
}

void PendingFiles::removeAll()
{
    for (const Entry& entry : m_entries)
        ::unlink(entry.temporary.c_str());
    m_entries.clear();
}

void PendingFiles::discard()
{
    const std::lock_guard lock(m_mutex);
    removeAll();
}

void PendingFiles::abandon()
{
    const std::lock_guard lock(m_mutex);
    m_abandoned = true;
    removeAll();
}

} // namespace erosion
