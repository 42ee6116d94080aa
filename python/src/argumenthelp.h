#pragma once
// The help lines of the arguments that several functions share: the parameters of the transient
// and periodic models and the age options, worded as the programs' --help words them.

#include "helptext.h"

#include <string>
#include <vector>

namespace erosion_python {

// surface_temperature_c, gradient_c_m, diffusivity_m2_s, and with a rate rate_mm_yr.
std::vector<ArgumentHelp> transientArgumentHelp(bool withRate);

// diffusivity_m2_s ... relief_m, duration_myr, points, and with a rate rate_mm_yr first.
std::vector<ArgumentHelp> periodicArgumentHelp(bool withRate);

// method, the grain (apatite_radius_um, zircon_radius_um, the argon radii, pressure_kbar, u_ppm,
// th_ppm, sm_ppm, dpar_um, cf_irradiated) and the kinetics (apatite_kinetics, zircon_kinetics,
// zircon_ft_kinetics).
std::vector<ArgumentHelp> ageOptionHelp();

// The lines of dpar_um and cf_irradiated, which age() takes too.
std::string dparHelp();
std::string californiumHelp();

// lengths, lengths_text, lengths_sample: the measured track lengths of the fits.
std::vector<ArgumentHelp> lengthsHelp();
// "sample, set, count, ...": the columns of a fit's table of lengths.
std::string lengthColumnNames();

// Appends more to help.
void append(std::vector<ArgumentHelp>& help, std::vector<ArgumentHelp> more);

} // namespace erosion_python
