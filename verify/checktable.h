#pragma once
// One table of verification checks: each check's name, its source, the published or exact
// value, the suite's value, their difference and the interval the difference must lie in. The
// program that fills it prints it and fails when any check fails.

#include <ostream>
#include <string>
#include <vector>

namespace verify {

struct Check {
    std::string name;
    std::string source;
    double expected; // published or exact
    double value; // the suite's
    double lowest; // the difference value - expected must lie in [lowest, highest]
    double highest;

    double difference() const { return value - expected; }
    bool passes() const { return difference() >= lowest && difference() <= highest; }
};

// A check whose difference may lie within +-tolerance.
Check within(std::string name, std::string source, double expected, double value, double tolerance);

// Prints the table with a header row and one row per check, then the count of failures.
void printTable(std::ostream& out, const std::vector<Check>& checks);

} // namespace verify
