// periodic_paths: the steady state under periodic relief (periodic/), fitted and refused as
// periodic_topography does, with the profile it draws and the rising paths of the rocks it
// exposes on the ridge, half-way down the slope and in the valley.

#include "argumenthelp.h"
#include "arrays.h"
#include "bindings.h"
#include "tablearguments.h"

#include "parametertables.h"
#include "helptext.h"

#include "fitrefusal.h"
#include "periodicparameters.h"
#include "profile.h"
#include "results.h"
#include "risingpath.h"
#include "steadystate.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <optional>

namespace erosion_python {

namespace {

const periodic::PeriodicParameters defaults;

// The columns of one series of word pairs.
std::vector<double> firsts(const periodic::Series& series)
{
    std::vector<double> values;
    values.reserve(series.size());
    for (const periodic::WordPair& pair : series)
        values.push_back(pair.first);
    return values;
}

std::vector<double> seconds(const periodic::Series& series)
{
    std::vector<double> values;
    values.reserve(series.size());
    for (const periodic::WordPair& pair : series)
        values.push_back(pair.second);
    return values;
}

py::dict periodicPaths(const double rateMmYr, const double diffusivityM2s,
    const double surfaceTemperatureC, const double lapseRateCKm, const double basalTemperatureC,
    const double basalDepthM, const double wavelengthM, const double reliefM,
    const std::array<double, 4>& isothermsC, const double durationMyr, const int points)
{
    const periodic::PeriodicParameters parameters { .erosionRate = rateMmYr,
        .diffusivity = diffusivityM2s,
        .surfaceTemp = surfaceTemperatureC,
        .lapseRate = lapseRateCKm,
        .basalTemp = basalTemperatureC,
        .basalDepth = basalDepthM,
        .wavelength = wavelengthM,
        .reliefAmplitude = reliefM,
        .isothermTemp = isothermsC,
        .historyDuration = durationMyr,
        .pointCount = points };
    raiseIf(periodic::parameterError(parameters));
    for (const std::string& warning : periodic::parameterWarnings(parameters))
        if (PyErr_WarnEx(PyExc_UserWarning, warning.c_str(), 1) != 0)
            throw py::error_already_set();

    std::optional<std::string> refusal;
    std::optional<periodic::PeriodicSteadyState> model;
    periodic::PeriodicResults results;
    std::vector<std::vector<periodic::RisingPoint>> paths;
    double residual = 0;
    {
        const py::gil_scoped_release release;
        model = periodic::PeriodicSteadyState::solve(periodic::toProblem(parameters));
        residual = model->largestSurfaceResidual();
        if (!(residual <= periodic::acceptableResidual)) {
            refusal = periodic::fitRefusal(parameters, residual);
        } else {
            results = periodic::computeResults(*model, parameters);
            // The results' histories hold time and temperature; the rising paths they are made
            // of hold the depth as well.
            for (const periodic::NamedSite& site : periodic::namedSites)
                paths.push_back(periodic::risingPath(*model, site.xM(parameters.wavelength),
                    parameters.historyDuration, parameters.pointCount - 1));
        }
    }
    raiseIf(refusal);

    py::dict result;
    for (std::size_t k = 0; k < paths.size(); ++k) {
        std::vector<double> timeMa;
        std::vector<double> temperatureC;
        std::vector<double> depthM;
        for (const periodic::RisingPoint& point : paths[k]) {
            timeMa.push_back(point.timeMa);
            temperatureC.push_back(point.temperatureC);
            depthM.push_back(point.depthM);
        }
        result[py::str(std::string(periodic::namedSites[k].name))]
            = pathDict(std::move(timeMa), std::move(temperatureC), std::move(depthM));
    }

    py::dict profile;
    profile["x_m"] = toArray(firsts(results.topography));
    profile["elevation_m"] = toArray(seconds(results.topography));
    py::array_t<double> heights({ results.isotherms.size(), results.topography.size() });
    auto height = heights.mutable_unchecked<2>();
    for (std::size_t j = 0; j < results.isotherms.size(); ++j)
        for (std::size_t i = 0; i < results.isotherms[j].size(); ++i)
            height(j, i) = results.isotherms[j][i].second;
    profile["isotherm_c"] = toArray(std::vector<double>(isothermsC.begin(), isothermsC.end()));
    profile["isotherm_height_m"] = heights;
    result["profile"] = profile;
    result["surface_misfit_c"] = residual;
    result["harmonics"] = model->harmonicCount();
    return result;
}

} // namespace

void bindPeriodic(py::module_& module)
{
    std::string siteNames;
    for (const periodic::NamedSite& site : periodic::namedSites)
        siteNames += std::string(siteNames.empty() ? "" : ", ") + std::string(site.name)
            + " (x = " + shownNumber(site.wavelengths) + " wavelength)";

    std::vector<ArgumentHelp> help = periodicArgumentHelp(true);
    const auto duration = std::find_if(help.begin(), help.end(),
        [](const ArgumentHelp& argument) { return argument.name == "duration_myr"; });
    help.insert(duration, { "isotherms_c", "the four isotherms of the profile (C)" });

    module.def("periodic_paths", &periodicPaths, py::kw_only(),
        keyword(ages::periodicParameter("-r")),
        keyword(ages::periodicParameter("-a")),
        keyword(ages::periodicParameter("-T")),
        keyword(ages::periodicParameter("-L")),
        keyword(ages::periodicParameter("-b")),
        keyword(ages::periodicParameter("-z")),
        keyword(ages::periodicParameter("-w")),
        keyword(ages::periodicParameter("-A")),
        py::arg("isotherms_c") = defaults.isothermTemp,
        keyword(ages::periodicParameter("-o")), keyword(ages::periodicPointCount),
        helpText("The steady temperature under a ridge-and-valley surface h(x) = h0 cos(2 pi x / "
                 "lambda) eroded at a constant rate, as periodic_topography computes it: the "
                 "profile it draws and the cooling paths of the rocks exposed today at "
                + siteNames
                + ", each risen vertically through the steady field. A fit whose surface misfit "
                  "exceeds "
                + shownNumber(periodic::acceptableResidual)
                + " C is refused with periodic_topography's reason; an isotherm the model never "
                  "meets gives a UserWarning.",
            help,
            "a dict: one path per site (ridge, mid_slope, valley), each a dict of arrays from "
            "duration_myr ago to today: time_ma, temperature_c, depth_m (below the rock's present "
            "surface point); profile, a dict of arrays: x_m, elevation_m (h(x)), isotherm_c and "
            "isotherm_height_m (one row per isotherm, height above the mean level in m, NaN where "
            "the isotherm is not met); surface_misfit_c, the largest misfit of the surface "
            "temperature, which bounds the error everywhere below (C); harmonics, the terms of "
            "the series.")
            .c_str());
}

} // namespace erosion_python
