#pragma once
// The tables a fit writes beside the table of predicted ages, as CSV in the same number format,
// each written atomically:
//   the misfit curve     rate_mm_yr, chi2, chi2_level   (chi2_level: the level the printed range
//                        was read at, the same on every row)
//   the residuals        sample, system, method, elevation_m, age_ma, sigma_ma, predicted_age_ma,
//                        residual_sigma, reset, kinetics, in_chi2   (at the best rate; residual =
//                        (observed - predicted) / sigma; reset no: the path does not reset the
//                        grain, the prediction is a lower bound; kinetics the catalogue's name
//                        of what predicted it; in_chi2 no: older than the model's path and left
//                        out of the fit), radius_um, u_ppm, th_ppm, sm_ppm, dpar_um (the
//                        grain the sample was predicted with: its own value or the option's
//                        default; empty where the method does not read it)
//   the misfit map       rate_mm_yr, the base's column (base_temperature_c or
//                        basal_gradient_c_m), chi2, chi2_level: with --fit-base, one row per
//                        rate and base, the rates of one base together
//   a cooling path       time_ma, temperature_c, depth_m   (depth empty for a path from a file)

#include "agetable.h"
#include "lengthmisfit.h"
#include "observedages.h"
#include "ratefit.h"
#include "samplepath.h"
#include "thermochron/catalogue.h"
#include "thermochron/grain.h"
#include "thermochron/system.h"

#include <filesystem>
#include <ostream>
#include <span>
#include <vector>

namespace ages {

// One measured sample against its prediction.
struct Residual {
    const ObservedAge* sample = nullptr;
    thermochron::Method method = thermochron::Method::Dodson;
    thermochron::Kinetics kinetics = thermochron::Kinetics::Dodson;
    double predictedAgeMa = 0;
    bool reset = true; // false: the path does not reset the grain, the prediction a lower bound
    bool inChi2 = true; // false: older than the model's path, left out of the fit
    // The grain predicted: the values the method reads (AgeKind::grain), the others at defaults.
    thermochron::Grain grain;

    double inSigmas() const { return (sample->ageMa - predictedAgeMa) / sample->sigmaMa; }
};

// The columns of the residual table, in order.
std::span<const TableColumn<Residual>> residualTableColumns();

// The columns of the measured lengths against their prediction at the best fit (lengthmisfit.h):
// sample, set (projected or unprojected), count, measured_mean_um, measured_sd_um,
// predicted_mean_um, predicted_sd_um, ks_d, ks_p, kuiper_v, kuiper_p.
std::span<const TableColumn<LengthComparison>> lengthComparisonColumns();

void writeMisfitTable(std::ostream& out, const RateFit& fit);
// The grid of rates x bases: chi2[j * rates + i] on the row of rates[i] at bases[j].
void writeMisfitMap(std::ostream& out, const std::vector<double>& rates,
    const std::string& baseColumn, const std::vector<double>& bases,
    const std::vector<double>& chi2, double level);
void writeResidualTable(std::ostream& out, const std::vector<Residual>& residuals);
void writePathTable(std::ostream& out, const SamplePath& path);

// The same, each to a temporary beside file renamed over it when complete. Throw InputError.
void writeMisfitFile(const std::filesystem::path& file, const RateFit& fit);
void writeResidualFile(const std::filesystem::path& file, const std::vector<Residual>& residuals);
void writePathFile(const std::filesystem::path& file, const SamplePath& path);

} // namespace ages
