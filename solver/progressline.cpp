#include "progressline.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include <unistd.h>

namespace erosion {

ProgressLine::ProgressLine(std::ostream& out, std::string label, std::chrono::milliseconds delay,
    std::chrono::milliseconds interval)
    : m_out(&out)
    , m_label(std::move(label))
    , m_nextReport(Clock::now() + delay)
    , m_interval(interval)
{
}

ProgressLine::~ProgressLine()
{
    if (m_shownLength > 0)
        *m_out << '\r' << std::string(m_shownLength, ' ') << '\r' << std::flush;
}

void ProgressLine::update(double fraction)
{
    if (!m_out)
        return;
    const auto now = Clock::now();
    if (now < m_nextReport)
        return;
    m_nextReport = now + m_interval;
    const int percent = static_cast<int>(std::floor(100.0 * std::clamp(fraction, 0.0, 1.0)));
    const std::string text = m_label + ' ' + std::to_string(percent) + '%';
    *m_out << '\r' << text << std::flush;
    m_shownLength = std::max(m_shownLength, text.size());
}

bool standardErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

} // namespace erosion
