#pragma once
// What the history fits of the module share, whatever their forward model (the 1D column of
// fit_history, the 3D terrain model of fit_history(model="terrain")): the fit's own arguments,
// set on the request as the program sets its fit options, their help, and the fit's result as the
// dict fit_history returns.

#include "argumenthelp.h"
#include "arrays.h"

#include "fittables.h"
#include "historyfitresult.h"
#include "historyrequest.h"
#include "lengthmisfit.h"

#include "textformat.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace erosion_python {

using Bounds = std::pair<double, double>;

// The fit's own arguments, as given: nothing where they were left out.
struct FitArguments {
    int phases;
    std::optional<Bounds> rates {};
    std::optional<Bounds> changeTimes {};
    std::optional<std::string> sampler {};
    std::optional<int> steps {};
    std::optional<int> walkers {};
    std::optional<int> burnIn {};
    std::optional<py::int_> seed {};
    std::optional<int> chains {}; // independent ensembles of the sampler
    // fit_shapes: "constant,ramp" or a list of such words, one per phase; None for constant
    py::object shapes = py::none();
    std::optional<Bounds> decayTimes {}; // decay_times
};

// The fit's part of the request, refused as the program refuses its fit options.
void setFit(ages::HistoryRequest& history, const FitArguments& arguments);

// fit_base's bounds (the base's temperature, or with a held heat flow that flow) into the
// request, whose thermal parameters are set already; ValueError for bounds it cannot take.
void setFitBase(ages::HistoryRequest& history, const std::optional<Bounds>& fitBase);

// The help lines of rates, change_times, sampler, steps, walkers, burn_in and seed.
std::vector<ArgumentHelp> fitArgumentHelp();

// The dict of fit_history: summary, best, chi2_min, reduced_chi2, chi2_level, sampler, ranges,
// intervals, diagnostics, profiles, tried, posterior, residuals, warnings, lengths.
py::dict historyFitAnswer(const ages::HistoryFit& fit, const ages::HistoryFitSettings& settings,
    const std::string& summary, const std::vector<ages::Residual>& residuals,
    const std::vector<textformat::Warning>& warnings,
    const std::vector<ages::LengthComparison>& lengths = {});

} // namespace erosion_python
