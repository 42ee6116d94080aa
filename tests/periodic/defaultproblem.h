#pragma once
// The program's default problem (0.5 mm/yr, 20 km wavelength, 1 km relief) in SI units, as the
// tests' common starting point; each test changes what it examines.

#include "periodicparameters.h"

inline periodic::SteadyStateProblem defaultProblem()
{
    return periodic::toProblem(periodic::PeriodicParameters {});
}

inline periodic::SteadyStateProblem problemWithRelief(const double amplitude)
{
    auto problem = defaultProblem();
    problem.amplitude = amplitude;
    return problem;
}
