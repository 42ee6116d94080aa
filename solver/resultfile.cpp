#include "resultfile.h"

#include "numberformat.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include <unistd.h>

namespace erosion {

namespace {

// Small writes (pairs, lines) gather in a buffer of this size before they go to the system.
constexpr std::size_t bufferBytes = std::size_t { 64 } << 10;

} // namespace

ResultFile::ResultFile(wholefile::ReplacementGroup& pending)
    : m_pending(pending)
    , m_buffer(bufferBytes)
{
}

ResultFile::~ResultFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool ResultFile::open(const char* path)
{
    if (failed())
        return false;
    m_path = path;
    m_used = 0;
    m_fd = m_pending.create(m_path);
    if (m_fd < 0) {
        m_failure = Failure::open;
        m_failedPath = m_path;
        m_error = errno;
        return false;
    }
    return true;
}

void ResultFile::close()
{
    if (m_fd < 0)
        return;
    flush();
    if (::close(m_fd) != 0 && !failed())
        failWrite(errno);
    m_fd = -1;
}

std::string ResultFile::failureMessage() const
{
    switch (m_failure) {
    case Failure::none:
        return {};
    case Failure::open:
        return openErrorMessage;
    case Failure::write:
        break;
    }
    return "could not write " + m_failedPath + ": " + std::strerror(m_error);
}

void ResultFile::failWrite(int error)
{
    m_failure = Failure::write;
    m_failedPath = m_path;
    m_error = error;
}

void ResultFile::writeOut(const char* text, std::size_t length)
{
    while (length > 0 && !failed()) {
        const ssize_t written = ::write(m_fd, text, length);
        if (written < 0) {
            if (errno != EINTR)
                failWrite(errno);
            continue;
        }
        if (written == 0) {
            failWrite(ENOSPC); // a device that takes nothing more
            continue;
        }
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

void ResultFile::flush()
{
    if (m_used > 0 && m_fd >= 0)
        writeOut(m_buffer.data(), m_used);
    m_used = 0;
}

void ResultFile::put(char c)
{
    if (m_used == m_buffer.size())
        flush();
    m_buffer[m_used++] = c;
}

void ResultFile::append(const char* text, std::size_t length)
{
    if (m_buffer.size() - m_used < length)
        flush();
    std::memcpy(m_buffer.data() + m_used, text, length);
    m_used += length;
}

void ResultFile::writeNumber(double value)
{
    char text[maxNumberLength];
    append(text, static_cast<std::size_t>(formatNumber(value, text) - text));
}

void ResultFile::writeInteger(int value)
{
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    append(text, static_cast<std::size_t>(result.ptr - text));
}

void ResultFile::writePair(double first, double second)
{
    put(' ');
    writeNumber(first);
    put(' ');
    writeNumber(second);
}

void ResultFile::writePair(int first, double second)
{
    put(' ');
    writeInteger(first);
    put(' ');
    writeNumber(second);
}

void ResultFile::writeIsothermPair(int level, double depth)
{
    if (depth != 0.0) {
        writePair(level, depth);
        return;
    }
    put(' ');
    writeInteger(level);
    append(" NaN", 4);
}

void ResultFile::writeRow(std::span<const double> values)
{
    for (const double value : values) {
        put(' ');
        writeNumber(value);
    }
    put('\n');
}

void ResultFile::writeLine(double value)
{
    writeNumber(value);
    put('\n');
}

bool ResultFile::writeText(std::string_view text)
{
    // Large blocks go straight to the file, past the buffer.
    flush();
    if (m_fd >= 0)
        writeOut(text.data(), text.size());
    return !failed();
}

} // namespace erosion
