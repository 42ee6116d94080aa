#include "checktable.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace verify {

namespace {

// Six significant digits: enough for every published value the table compares with.
std::string number(double value)
{
    std::ostringstream text;
    text << std::setprecision(6) << value;
    return text.str();
}

std::string interval(const Check& check)
{
    if (check.lowest == -check.highest)
        return "+-" + number(check.highest);
    return number(check.lowest) + " to " + number(check.highest);
}

} // namespace

Check within(std::string name, std::string source, double expected, double value, double tolerance)
{
    return { std::move(name), std::move(source), expected, value, -tolerance, tolerance };
}

void printTable(std::ostream& out, const std::vector<Check>& checks)
{
    std::size_t nameWidth = 5, sourceWidth = 6;
    for (const Check& check : checks) {
        nameWidth = std::max(nameWidth, check.name.size());
        sourceWidth = std::max(sourceWidth, check.source.size());
    }
    const auto row = [&](const std::string& name, const std::string& source,
                         const std::string& expected, const std::string& value,
                         const std::string& difference, const std::string& tolerance,
                         const std::string& result) {
        out << std::left << std::setw(static_cast<int>(nameWidth)) << name << "  "
            << std::setw(static_cast<int>(sourceWidth)) << source << "  " << std::right
            << std::setw(12) << expected << "  " << std::setw(12) << value << "  " << std::setw(12)
            << difference << "  " << std::setw(16) << tolerance << "  " << result << '\n';
    };
    row("check", "source", "expected", "suite", "difference", "tolerance", "result");
    int failures = 0;
    for (const Check& check : checks) {
        failures += !check.passes();
        row(check.name, check.source, number(check.expected), number(check.value),
            number(check.difference()), interval(check), check.passes() ? "pass" : "FAIL");
    }
    out << checks.size() << " checks, " << failures << (failures == 1 ? " failure" : " failures")
        << '\n';
}

} // namespace verify
