#pragma once
// The command-line options of the fit (fitoptions.h) on cooling_ages's models.

#include "agecommandline.h"
#include "fitoptions.h"

namespace ages {

// Adds the options to the models that take them; their values land in options when line parses.
void addFitOptions(AgeCommandLine& line, FitOptions& options);

} // namespace ages
