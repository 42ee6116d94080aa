#include "steadystatefit.h"

#include "inputerror.h"
#include "numberword.h"

// The model's limit on the surface misfit, and the words of its refusal, are kept with the model:
// in its own module of fit refusals where it has one, else with its run.
#if __has_include("fitrefusal.h")
#include "fitrefusal.h"
#define AGES_PERIODIC_FIT_REFUSAL 1
#else
#include "periodicrun.h"

#include <numbers>
#endif

#include <string>

namespace ages {

namespace {

// Why the fit is refused, without the "ERROR: " prefix.
std::string refusal(const periodic::PeriodicParameters& parameters, double residual)
{
#ifdef AGES_PERIODIC_FIT_REFUSAL
    return periodic::fitRefusal(parameters, residual);
#else
    const double steepness
        = 2.0 * std::numbers::pi * parameters.reliefAmplitude / parameters.wavelength;
    return "relief too steep for the method: the surface temperature is met only within "
        + periodic::numberWord(residual) + " C (limit "
        + periodic::numberWord(periodic::acceptableResidual)
        + " C) at 2 pi h0 / lambda = " + periodic::numberWord(steepness)
        + "; lower the relief (-A) or lengthen the wavelength (-w)";
#endif
}

} // namespace

periodic::PeriodicSteadyState fittedSteadyState(const periodic::PeriodicParameters& parameters)
{
    auto model = periodic::PeriodicSteadyState::solve(periodic::toProblem(parameters));
    const double residual = model.largestSurfaceResidual();
    if (!(residual <= periodic::acceptableResidual))
        throw InputError("ERROR: at -r " + periodic::numberWord(parameters.erosionRate)
            + " mm/yr: " + refusal(parameters, residual));
    return model;
}

} // namespace ages
