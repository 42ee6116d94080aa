// verify_checks: the suite's models against published values, exact solutions and independent
// solutions, in one table (see docs/kinetics.md). Exit status 1 when any check fails.

#include "checks.h"

#include <iostream>

int main()
{
    std::vector<verify::Check> checks = verify::thermalChecks();
    for (auto group : { verify::ageChecks, verify::kineticsChecks })
        for (verify::Check& check : group())
            checks.push_back(std::move(check));
    verify::printTable(std::cout, checks);
    for (const verify::Check& check : checks)
        if (!check.passes())
            return 1;
    return 0;
}
