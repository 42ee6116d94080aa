#pragma once
// A progress line for long runs, for a person watching a terminal: "transient_erosion:
// temperature field 42%" rewritten in place, and erased when the work is done. It stays silent
// until the work has taken a moment, so short runs print nothing, and the program makes one only
// when standard error is a terminal: scripts and tests see no output.

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

namespace erosion {

class ProgressLine {
public:
    // Reports nothing.
    ProgressLine() = default;
    // Reports on out once `delay` has passed since construction, then at most every `interval`.
    ProgressLine(std::ostream& out, std::string label,
        std::chrono::milliseconds delay = std::chrono::milliseconds(700),
        std::chrono::milliseconds interval = std::chrono::milliseconds(200));
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    // Erases the line if one was shown.
    ~ProgressLine();

    // The share of the work done, 0 .. 1.
    void update(double fraction);

private:
    using Clock = std::chrono::steady_clock;

    std::ostream* m_out = nullptr;
    std::string m_label;
    Clock::time_point m_nextReport;
    std::chrono::milliseconds m_interval {};
    std::size_t m_shownLength = 0;
};

// Whether standard error is a terminal, where a progress line is welcome.
bool standardErrorIsTerminal();

} // namespace erosion
