#pragma once
// Lines of a text file as the readers of user files take them: ended by "\n", "\r\n" or a lone
// "\r" (old Mac and some instrument exports), the UTF-8 byte order mark that spreadsheets write
// before the first line dropped, and no line longer than a bound, so that a file with no line
// ends at all (/dev/zero, a binary file given by mistake) is refused after a few kilobytes
// instead of being read until memory runs out.

#include <cstddef>
#include <istream>
#include <string>

namespace textlines {

// Longer lines than this are not a table of numbers someone typed or exported.
inline constexpr std::size_t longestLine = 65536;

class LineReader {
public:
    explicit LineReader(std::istream& in, std::size_t maxBytes = longestLine);

    // The next line into line, without its end; false at the end of the input. Throws
    // std::length_error when a line is longer than maxBytes (lineNumber() then names it).
    bool next(std::string& line);

    // The number of the line last read, from 1.
    int lineNumber() const { return m_lineNumber; }

private:
    std::istream& m_in;
    std::size_t m_maxBytes;
    int m_lineNumber = 0;
};

} // namespace textlines
