#pragma once
// Why a fit of the steady state is refused, told so that the user can mend the run. The series
// meets the surface condition only approximately; its largest surface misfit bounds the error
// everywhere below, and a fit whose misfit exceeds acceptableResidual is refused. Two things make
// the misfit large: a relief too steep for a cosine series (2 pi h0 / lambda beyond about 1), and
// a base so close below the valley floors that the modes, which all vanish at the base, can hardly
// vary there. Only the second is mended by a deeper base, so the refusal tries one.

#include "periodicparameters.h"

#include <optional>
#include <string>

namespace periodic {

// The surface misfit (C) beyond which a fit is refused.
inline constexpr double acceptableResidual = 0.01;

// A basal depth (m), deeper than parameters.basalDepth and rounded up to two significant digits,
// at which the fit meets acceptableResidual; nullopt when none down to two wavelengths below the
// valley floors does, that is when the base is not what limits the fit.
std::optional<double> sufficientBasalDepth(const PeriodicParameters& parameters);

// The refusal (without the "ERROR: " prefix) of a fit with the given surface misfit (C): which
// limit was met, and the change that helps (deepen the base, or lower the relief / lengthen the
// wavelength).
std::string fitRefusal(const PeriodicParameters& parameters, double residual);

} // namespace periodic
