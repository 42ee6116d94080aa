#pragma once
// The geotherm a rate fit of cooling_ages may fit with the erosion (--fit-base MIN:MAX):
//
//   periodic   the basal temperature -b (C) at the depth -z: the steady state's geotherm is
//              held by it, and a hotter base raises every isotherm
//   transient  the basal gradient -B (C/m) of the half-space, the gradient of the initial
//              geotherm and of the one far below the surface: a steeper gradient brings the
//              closure isotherms up as a hotter base does
//
// The fit is a grid of the --rates sweep x rateFitBaseCount bases evenly spaced across MIN:MAX
// (rategrid.h), every sample's misfit from one model run per rate and base.

#include "agerequest.h"
#include "fittedbase.h"

#include <string>

namespace ages {

// Bases a rate fit grids: as many as the one-phase history fit takes, which resolves a smooth
// trade-off once the profile is refined between them.
inline constexpr int rateFitBaseCount = 7;

// The fitted base's column and unit: base_temperature_c (C), or in transient basal_gradient_c_m
// (C/m); the bounds as given.
FittedBaseWords rateFitBaseWords(const AgeRequest& request, ValueBounds bounds);

// The first refusal of --fit-base bounds for the request's model, without the option's name:
// each bound checked as the model checks its own -b or -B, then MIN < MAX ("the bounds need
// MIN < MAX"); empty when usable.
std::string rateFitBaseError(const AgeRequest& request, ValueBounds bounds);

// The request with the base at a value (NaN: the request's own base).
AgeRequest withRateFitBase(AgeRequest request, double base);

} // namespace ages
