#pragma once
// The one output stream of a run, reopened for each of its files in turn.
//
// Numbers are written in the format of all result files (4 significant digits, decimal point
// always shown: C's "%#.4g"); time levels as plain integers. Each file goes to a temporary of
// the run's replacement group, put in place with the others when the run commits them.
//
// A failure is sticky: once an open, a write or a close has failed, every later open is refused
// and every later write dropped, so the run stops with an error instead of carrying on past lost
// results. What failed is kept for the run's message: an open that failed is reported as the
// output directories being unusable, a write with the file and the system's reason.

#include "replacementgroup.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace erosion {

// The message when a result file cannot be opened (or an earlier one failed).
constexpr const char* openErrorMessage
    = "Could not open file(s) for output; do the directories exist?";

class ResultFile {
public:
    explicit ResultFile(wholefile::ReplacementGroup& pending);
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;
    ~ResultFile();

    // Starts the file for path. False when that fails or an earlier file failed; the file at
    // path is then not touched.
    bool open(const char* path);
    // Ends the current file; a failure to write it out is remembered.
    void close();
    // True once any open, write or close has failed.
    bool failed() const { return m_failure != Failure::none; }
    // The one-line message for what failed (empty while nothing has).
    std::string failureMessage() const;

    // Pair stream: " first second", no line end.
    void writePair(double first, double second);
    void writePair(int first, double second);
    // An isotherm pair: " level depth", with the word NaN for a depth of 0 (isotherm not found).
    void writeIsothermPair(int level, double depth);
    // Row: " v0 v1 ... vn" and a line end.
    void writeRow(std::span<const double> values);
    // One value per line: "value" and a line end.
    void writeLine(double value);
    // Text already in the files' format (a block of whole rows from the fast field writer),
    // handed to the system at once. False when it (or anything earlier) could not be written.
    bool writeText(std::string_view text);

private:
    enum class Failure { none, open, write };

    void writeNumber(double value);
    void writeInteger(int value);
    void put(char c);
    void append(const char* text, std::size_t length);
    void flush();
    void writeOut(const char* text, std::size_t length);
    void failWrite(int error);

    wholefile::ReplacementGroup& m_pending;
    int m_fd = -1;
    std::string m_path;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    Failure m_failure = Failure::none;
    std::string m_failedPath;
    int m_error = 0;
};

} // namespace erosion
