#include "resultfile.h"

#include "numberformat.h"

#include <charconv>

namespace erosion {

bool ResultFile::open(const char* path)
{
    m_failed = failed();
    if (m_failed)
        return false;
    m_stream.open(path, std::ios::out | std::ios::trunc);
    m_failed = !m_stream.is_open() || m_stream.fail();
    return !m_failed;
}

void ResultFile::close()
{
    m_stream.close();
    m_failed = m_failed || m_stream.fail();
}

void ResultFile::writeNumber(double value)
{
    char text[maxNumberLength];
    m_stream.write(text, formatNumber(value, text) - text);
}

void ResultFile::writeInteger(int value)
{
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    m_stream.write(text, result.ptr - text);
}

void ResultFile::writePair(double first, double second)
{
    m_stream.put(' ');
    writeNumber(first);
    m_stream.put(' ');
    writeNumber(second);
}

void ResultFile::writePair(int first, double second)
{
    m_stream.put(' ');
    writeInteger(first);
    m_stream.put(' ');
    writeNumber(second);
}

void ResultFile::writeIsothermPair(int level, double depth)
{
    if (depth != 0.0) {
        writePair(level, depth);
        return;
    }
    m_stream.put(' ');
    writeInteger(level);
    m_stream.write(" NaN", 4);
}

void ResultFile::writeRow(std::span<const double> values)
{
    for (const double value : values) {
        m_stream.put(' ');
        writeNumber(value);
    }
    m_stream << std::endl;
}

void ResultFile::writeLine(double value)
{
    writeNumber(value);
    m_stream << std::endl;
}

void ResultFile::writeText(std::string_view text)
{
    // Large blocks go straight to the file, past the stream's buffer.
    m_stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace erosion
