#pragma once
// The level of chi2 at which a fit reads the range of a parameter, and the digits that show it.
//
//     level = chi2_min + max(1, reduced chi2),    reduced chi2 = chi2_min / degrees of freedom
//
// chi2_min + 1 bounds the one-standard-error interval of one parameter when the measurement
// errors are right. A reduced chi2 above 1 says they are not: the scatter about the best fit is
// larger than the errors allow. The errors are then taken as understated by the Birge ratio
// sqrt(reduced chi2) (Birge 1932, Phys. Rev. 40:207): scaled by it, the fit's reduced chi2
// becomes 1 and chi2_min + 1 in the scaled errors is chi2_min + reduced chi2 in the given ones.
// The rate fit and the erosion-history fits read their ranges at this one level.

#include <limits>

namespace ages {

struct MisfitLevel {
    double chi2Min = 0;
    double reducedChi2 = std::numeric_limits<double>::quiet_NaN(); // NaN without degrees of freedom
    double level = 1; // chi2Min + max(1, reducedChi2); chi2Min + 1 without degrees of freedom
    bool scaled = false; // the range was widened by the reduced chi2
};

// The level for a minimum chi2Min (>= 0) with degreesOfFreedom (samples less fitted parameters).
MisfitLevel misfitLevel(double chi2Min, long degreesOfFreedom);

// Decimals that print a range from low to high with at least two significant digits of its
// width, and never fewer than fewest: enough that the two ends differ.
int rangeDecimals(double low, double high, int fewest);

} // namespace ages
