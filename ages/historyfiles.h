#pragma once
// What a history fit writes: three CSV tables (one header row, six significant digits, written
// atomically) and the summary for standard error.
//
//   fit table        start_1_ma,rate_1_mm_yr,start_2_ma,rate_2_mm_yr[,start_3_ma,rate_3_mm_yr],
//                    chi2,in_range
//                    every history tried or sampled, in the engine's order; start_1_ma is the
//                    path start; in_range is yes where chi2 <= the level of the ranges.
//   profile table    change,change_time_ma,chi2,chi2_level
//                    change 1 for the oldest change time; chi2_level the level of the range.
//   posterior table  walker,step,start_1_ma,rate_1_mm_yr,...,chi2
//                    the sampler's walkers after the burn-in (walkers and steps from 1).
//   geotherm table   depth_m,temperature_c: the column today at its nodes, surface first.
// With --fit-base the fit and posterior tables have the base's column (base_temperature_c or
// base_heat_flow_mw_m2) before chi2. A ramp adds end_rate_K_mm_yr and a decay tau_K_myr after
// its phase's rate_K_mm_yr (--fit-shapes).
//
// The summary's history is written in the syntax the program reads ("20:0.300,5.50:0.570"), so
// that it can be pasted back: the thermal model's own formatter (thermal::formatErosionHistory).

#include "historyfitresult.h"
#include "historypath.h"

#include "textformat.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace ages {

void writeHistoryFitTable(std::ostream& out, const HistoryFit& fit);
void writeHistoryProfileTable(std::ostream& out, const HistoryFit& fit);
// Nothing but the header without a posterior.
void writeHistoryPosteriorTable(std::ostream& out, const HistoryFit& fit);
void writeGeothermTable(std::ostream& out, const thermal::Geotherm& geotherm);

// The same, each to a temporary beside file renamed over it when complete. Throw InputError.
void writeHistoryFitFile(const std::filesystem::path& file, const HistoryFit& fit);
void writeHistoryProfileFile(const std::filesystem::path& file, const HistoryFit& fit);
void writeHistoryPosteriorFile(const std::filesystem::path& file, const HistoryFit& fit);

// The lines for standard error, each ending in a line end:
//   best history: 20:0.300,5.50:0.570, chi2 3.21, reduced chi2 0.80
//   change time 1: 5.50 Ma, range 4.8 to 6.1 Ma[ (scaled by reduced chi2)]
// with a ramp or a decay each of its parameters' best and range off its profile,
//   end rate 1: 0.812 mm/yr, range 0.701 to 0.935 mm/yr
// then, for one phase, the rate fit's own line; for the sampler, its chains, walkers, steps,
// burn-in and acceptance, and each parameter's median, 68 % interval, split R-hat and effective
// sample size (chaindiagnostics.h).
std::string historySummary(const HistoryFit& fit);

// The fit's warnings, as values; none when there is nothing to warn of. Their kinds:
// "parameter_count" (parameters as many as the samples), "change_time_range" (a range that
// reaches a bound of --change-times), "rate_at_bound" (a best rate at a bound of --rates),
// "parameter_range" (a ramp's or a decay's
// parameter whose range reaches its bound), "burn_in" (a burn-in shorter than 10 autocorrelation times), "chains_disagree" (a parameter's
// split R-hat above 1.01), "few_effective_samples" (a parameter's effective sample size below
// 400), "few_independent_samples" (a posterior of fewer than 200 independent samples).
std::vector<textformat::Warning> historyWarnings(const HistoryFit& fit);

} // namespace ages
