#pragma once
// The one output stream of a run, reopened for each of its files in turn.
//
// Numbers are written in the format of all result files (4 significant digits, decimal point
// always shown: C's "%#.4g"); time levels as plain integers. A failure is sticky: once an open,
// a write or a close has failed, every later open is refused, so the run stops with an error
// instead of carrying on past lost results.

#include <fstream>
#include <span>
#include <string_view>

namespace erosion {

class ResultFile {
public:
    // Creates or truncates path. False when that fails or an earlier file failed; the file is
    // then not touched.
    bool open(const char* path);
    // Closes the current file; a failure to write it out is remembered.
    void close();
    // True once any open, write or close has failed.
    bool failed() const { return m_failed || m_stream.fail(); }

    // Pair stream: " first second", no line end.
    void writePair(double first, double second);
    void writePair(int first, double second);
    // An isotherm pair: " level depth", with the word NaN for a depth of 0 (isotherm not found).
    void writeIsothermPair(int level, double depth);
    // Row: " v0 v1 ... vn" and a line end, flushed.
    void writeRow(std::span<const double> values);
    // One value per line: "value" and a line end, flushed.
    void writeLine(double value);
    // Text already in the files' format (a block of whole rows from the fast field writer).
    void writeText(std::string_view text);

private:
    void writeNumber(double value);
    void writeInteger(int value);

    std::ofstream m_stream;
    bool m_failed = false;
};

} // namespace erosion
