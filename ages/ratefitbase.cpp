#include "ratefitbase.h"

#include "ageprediction.h"
#include "textformat.h"

#include <cmath>

namespace ages {

FittedBaseWords rateFitBaseWords(const AgeRequest& request, const ValueBounds bounds)
{
    FittedBaseWords words = request.model == Model::transient
        ? FittedBaseWords { "basal_gradient_c_m", "C/m", bounds }
        : FittedBaseWords { "base_temperature_c", "C", bounds };
    // These models take no borehole temperatures or heat flows; the history model does.
    words.remedy = "add systems of other closure temperatures, or fit with cooling_ages history, "
                   "which takes borehole temperatures (system T) and heat flows (Q)";
    return words;
}

AgeRequest withRateFitBase(AgeRequest request, const double base)
{
    if (std::isnan(base))
        return request;
    if (request.model == Model::transient)
        request.transient.basalGradient = base;
    else
        request.periodic.basalTemp = base;
    return request;
}

std::string rateFitBaseError(const AgeRequest& request, const ValueBounds bounds)
{
    for (const double value : { bounds.low, bounds.high }) {
        // The half-space is heated from below: a gradient of 0 or less has no geotherm to fit.
        if (request.model == Model::transient && !(value > 0))
            return "-B basal gradient must be greater than 0 C/m, got " + textformat::number(value);
        const AgeRequest at = withRateFitBase(request, value);
        const std::optional<std::string> error = request.model == Model::transient
            ? transientParameterError(at.transient, at.transient.historyTime)
            : periodicParameterError(at.periodic);
        if (error)
            return *error;
    }
    if (!(bounds.low < bounds.high))
        return "the bounds need MIN < MAX";
    return {};
}

} // namespace ages
