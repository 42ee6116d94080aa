#include "replacementgroup.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <streambuf>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wholefile {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view temporarySuffix = ".tmp";

// Links followed before a chain is taken for a loop, as the system's own limit (Linux's 40).
constexpr int maxLinkHops = 40;

// ".NAME." for target NAME: what every temporary of it starts with.
std::string temporaryPrefix(const fs::path& target)
{
    std::string prefix(1, '.');
    prefix += target.filename().string();
    prefix += '.';
    return prefix;
}

// The process id in a temporary's name made by temporaryPathOf, or 0 when it is not one.
pid_t processOfTemporary(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() + temporarySuffix.size() || !name.starts_with(prefix)
        || !name.ends_with(temporarySuffix))
        return 0;
    pid_t pid = 0;
    const char* first = name.data() + prefix.size();
    const auto [end, error] = std::from_chars(first, name.data() + name.size(), pid);
    return error == std::errc() && end != first && *end == '-' ? pid : 0;
}

// Numbers the temporaries of this process, so that two groups never share one.
std::atomic<int> temporariesCreated { 0 };

// Hands whole buffers to a file descriptor, retrying interrupted and partial writes; remembers
// the first error.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd)
        : m_fd(fd)
    {
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }
    int error() const { return m_error; }

protected:
    int_type overflow(int_type c) override
    {
        if (!flushBuffer())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return flushBuffer() ? 0 : -1; }

private:
    bool flushBuffer()
    {
        const char* text = pbase();
        std::size_t length = static_cast<std::size_t>(pptr() - pbase());
        while (length > 0 && m_error == 0) {
            const ssize_t written = ::write(m_fd, text, length);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                m_error = written < 0 ? errno : ENOSPC; // a device that takes nothing more
                break;
            }
            text += written;
            length -= static_cast<std::size_t>(written);
        }
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
        return m_error == 0;
    }

    int m_fd;
    int m_error = 0;
    std::array<char, 64 * 1024> m_buffer {};
};

// Closes a descriptor when it goes out of scope, however the writing ended.
class OpenDescriptor {
public:
    explicit OpenDescriptor(int fd)
        : m_fd(fd)
    {
    }
    OpenDescriptor(const OpenDescriptor&) = delete;
    OpenDescriptor& operator=(const OpenDescriptor&) = delete;
    ~OpenDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    // Closes now: 0, or the error number of a failed write-out.
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

} // namespace

ReplacementTarget replacementTargetOf(const std::string& path)
{
    std::error_code error;
    ReplacementTarget target { path, false };
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        // A link is followed, link after link, to the file it names, which need not exist yet: a
        // link into a directory that does not exist is a file that cannot be written, not a link
        // to replace.
        fs::path named = path;
        for (int hop = 0; hop < maxLinkHops && fs::is_symlink(fs::symlink_status(named, error));
             ++hop) {
            const fs::path next = fs::read_symlink(named, error);
            if (error)
                break;
            named = next.is_absolute() ? next : named.parent_path() / next;
        }
        const fs::path resolved = fs::weakly_canonical(named, error);
        if (!error)
            target.path = resolved.string();
    }
    const fs::file_status status = fs::status(target.path, error);
    target.inPlace = fs::is_character_file(status) || fs::is_block_file(status)
        || fs::is_fifo(status) || fs::is_socket(status);
    return target;
}

fs::path temporaryPathOf(const fs::path& target, const int index)
{
    std::string name = temporaryPrefix(target);
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(index);
    name += temporarySuffix;
    return target.parent_path() / name;
}

void removeAbandonedTemporaries(const std::string& path)
{
    const ReplacementTarget target = replacementTargetOf(path);
    if (target.inPlace)
        return;
    const fs::path targetPath(target.path);
    const std::string prefix = temporaryPrefix(targetPath);
    const fs::path directory = targetPath.has_parent_path() ? targetPath.parent_path() : ".";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        const pid_t pid = processOfTemporary(entry.path().filename().string(), prefix);
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            ::unlink(entry.path().c_str());
    }
}

namespace {

// The groups alive in the process. A group leaves the list before it is torn down, under the
// list's lock, so that abandonEveryGroup() never reaches one being destroyed.
std::mutex livingGroupsLock;
std::vector<ReplacementGroup*>& livingGroups()
{
    static std::vector<ReplacementGroup*> groups;
    return groups;
}

} // namespace

ReplacementGroup::ReplacementGroup()
{
    const std::lock_guard lock(livingGroupsLock);
    livingGroups().push_back(this);
}

ReplacementGroup::~ReplacementGroup()
{
    {
        const std::lock_guard lock(livingGroupsLock);
        std::erase(livingGroups(), this);
    }
    discard();
}

void abandonEveryGroup()
{
    const std::lock_guard lock(livingGroupsLock);
    for (ReplacementGroup* group : livingGroups())
        group->abandon();
}

int ReplacementGroup::create(const std::string& path)
{
    const ReplacementTarget target = replacementTargetOf(path);
    if (target.inPlace)
        return ::open(target.path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);

    const std::lock_guard lock(m_mutex);
    if (m_abandoned) {
        errno = ECANCELED;
        return -1;
    }
    const std::string temporary = temporaryPathOf(target.path, temporariesCreated++).string();
    // Listed before it exists, so that an abandonment from now on removes it.
    m_entries.push_back({ path, target.path, temporary });
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

std::optional<ReplacementFailure> ReplacementGroup::write(
    const std::string& path, const TextWriter& write)
{
    const int fd = create(path);
    if (fd < 0)
        return ReplacementFailure { path, ReplacementFailure::Step::create, errno };
    OpenDescriptor file(fd);
    DescriptorBuffer buffer(fd);
    std::ostream out(&buffer);
    write(out);
    out.flush();
    int error = buffer.error();
    if (error == 0 && !out)
        error = EIO; // the writer's own stream failed without a system error
    const int closeError = file.close();
    if (error == 0)
        error = closeError;
    if (error != 0)
        return ReplacementFailure { path, ReplacementFailure::Step::write, error };
    return std::nullopt;
}

std::optional<ReplacementFailure> ReplacementGroup::commit()
{
    const std::lock_guard lock(m_mutex);
    std::optional<ReplacementFailure> failure;
    for (const Entry& entry : m_entries) {
        if (failure) {
            ::unlink(entry.temporary.c_str());
            continue;
        }
        if (::rename(entry.temporary.c_str(), entry.target.c_str()) != 0) {
            failure = ReplacementFailure { entry.path, ReplacementFailure::Step::rename, errno };
            ::unlink(entry.temporary.c_str());
        }
    }
    m_entries.clear();
    return failure;
}

void ReplacementGroup::removeAll()
{
    for (const Entry& entry : m_entries)
        ::unlink(entry.temporary.c_str());
    m_entries.clear();
}

void ReplacementGroup::discard()
{
    const std::lock_guard lock(m_mutex);
    removeAll();
}

void ReplacementGroup::abandon()
{
    const std::lock_guard lock(m_mutex);
    m_abandoned = true;
    removeAll();
}

std::optional<ReplacementFailure> replaceWholeFile(const std::string& path, const TextWriter& write)
{
    ReplacementGroup group;
    if (auto failure = group.write(path, write))
        return failure;
    return group.commit();
}

} // namespace wholefile
