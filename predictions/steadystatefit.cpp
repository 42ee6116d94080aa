#include "steadystatefit.h"

#include "inputerror.h"
#include "numberword.h"

#include "fitrefusal.h"

#include <string>

namespace ages {

periodic::PeriodicSteadyState fittedSteadyState(const periodic::PeriodicParameters& parameters)
{
    auto model = periodic::PeriodicSteadyState::solve(periodic::toProblem(parameters));
    const double residual = model.largestSurfaceResidual();
    if (!(residual <= periodic::acceptableResidual))
        throw InputError("at -r " + periodic::numberWord(parameters.erosionRate)
            + " mm/yr: " + periodic::fitRefusal(parameters, residual));
    return model;
}

} // namespace ages
