// transient_temperature and transient_path: the closed form of the transient erosion model
// (solver/model.h) over numpy arrays, and the cooling path of the rock it exposes at a given time
// (ages/transientpath.h, the path cooling_ages dates).

#include "argumenthelp.h"
#include "arrays.h"
#include "bindings.h"
#include "tablearguments.h"

#include "parametertables.h"
#include "helptext.h"

#include "ageprediction.h"
#include "model.h"
#include "parametercheck.h"
#include "transientpath.h"
#include "units.h"

#include <cmath>

namespace erosion_python {

namespace {

// The model's parameters from the arguments, which bear transient_erosion's defaults.
erosion::RunParameters transientParameters(const double surfaceTemperatureC,
    const double gradientCm, const double diffusivityM2s, const double rateMmYr)
{
    erosion::RunParameters parameters;
    parameters.surfaceTemp = surfaceTemperatureC;
    parameters.basalGradient = gradientCm;
    parameters.diffusivity = diffusivityM2s;
    parameters.setErosionRate(rateMmYr);
    return parameters;
}

// transient_erosion's defaults.
const erosion::RunParameters defaults;

py::object transientTemperature(const DoubleArray& depthM, const DoubleArray& timeMyr,
    const double surfaceTemperatureC, const double gradientCm, const double diffusivityM2s,
    const double rateMmYr)
{
    const erosion::RunParameters parameters
        = transientParameters(surfaceTemperatureC, gradientCm, diffusivityM2s, rateMmYr);
    raiseIf(erosion::checkParameters(parameters));

    const py::tuple views = py::module_::import("numpy").attr("broadcast_arrays")(depthM, timeMyr);
    // The model holds below the surface (depth >= 0) from the start of erosion on (time >= 0);
    // the first pair outside is named once the loop, which cannot raise, is done.
    double badDepth = 0;
    double badTime = 0;
    bool outside = false;
    py::array_t<double> temperature = mapPairs(views[0].cast<py::array>(),
        views[1].cast<py::array>(), [&](const double depth, const double time) {
            if (!(depth >= 0 && time >= 0 && std::isfinite(depth) && std::isfinite(time))) {
                if (!outside) {
                    badDepth = depth;
                    badTime = time;
                }
                outside = true;
                return std::nan("");
            }
            return erosion::transientTemp(parameters, -depth, time * units::secondsPerMyr);
        });
    if (outside)
        throw py::value_error("depth_m and time_myr must be finite and 0 or more: the model holds "
                              "below the surface from the start of erosion on (got depth "
            + shownNumber(badDepth) + " m at " + shownNumber(badTime) + " Myr)");
    if (temperature.ndim() == 0)
        return py::float_(*temperature.data());
    return temperature;
}

py::dict transientPath(const double exposureMyr, const double surfaceTemperatureC,
    const double gradientCm, const double diffusivityM2s, const double rateMmYr)
{
    const erosion::RunParameters parameters
        = transientParameters(surfaceTemperatureC, gradientCm, diffusivityM2s, rateMmYr);
    raiseIf(ages::transientParameterError(parameters, exposureMyr));
    std::vector<double> timeMa;
    std::vector<double> temperatureC;
    std::vector<double> depthM;
    {
        const py::gil_scoped_release release;
        ages::SamplePath sample = ages::transientCoolingPath(parameters, exposureMyr);
        timeMa.reserve(sample.path.size());
        temperatureC.reserve(sample.path.size());
        for (const thermochron::PathPoint& point : sample.path) {
            timeMa.push_back(point.timeMa);
            temperatureC.push_back(point.temperatureC);
        }
        depthM = std::move(sample.depthM);
    }
    return pathDict(std::move(timeMa), std::move(temperatureC), std::move(depthM));
}

} // namespace

void bindTransient(py::module_& module)
{
    std::vector<ArgumentHelp> temperatureHelp {
        { "depth_m", "depth below the eroding surface, 0 or more (m): an array or a number" },
        { "time_myr",
            "time since erosion began, 0 or more (Myr of 365-day years): an array or a number, "
            "broadcast against depth_m as numpy broadcasts" },
    };
    append(temperatureHelp, transientArgumentHelp(true));
    module.def("transient_temperature", &transientTemperature, py::arg("depth_m"),
        py::arg("time_myr"), py::kw_only(), keyword(ages::transientParameter("-T")),
        keyword(ages::transientParameter("-B")),
        keyword(ages::transientParameter("-a")),
        keyword(ages::transientParameter("-r")),
        helpText("Temperature of a half-space whose surface, held at T0, is eroded at a constant "
                 "rate from the linear geotherm T0 + G d: the closed form of dT/dt = kappa "
                 "d2T/dd2 + u dT/dd that transient_erosion evaluates on its grid, here at any "
                 "depths and times.",
            temperatureHelp,
            "the temperatures (C), an array of the broadcast shape of depth_m and time_myr (a "
            "float for two numbers).")
            .c_str());

    std::vector<ArgumentHelp> pathHelp {
        { "exposure_myr",
            "exposure time of the dated rock after erosion began, above 0, not rounded (Myr)" },
    };
    append(pathHelp, transientArgumentHelp(true));
    module.def("transient_path", &transientPath, keyword(ages::transientParameter("-o")),
        py::kw_only(), keyword(ages::transientParameter("-T")),
        keyword(ages::transientParameter("-B")),
        keyword(ages::transientParameter("-a")),
        keyword(ages::transientParameter("-r")),
        helpText("The cooling path of the rock that the transient erosion model brings to the "
                 "surface at the exposure time, as cooling_ages transient dates it: the closed "
                 "form every "
                + shownNumber(ages::transientPathStepMyr) + " Myr (at least "
                + std::to_string(ages::transientPathMinPoints)
                + " points) from the start of erosion, on the initial geotherm, to the surface.",
            pathHelp,
            "a dict of arrays, oldest point first: time_ma (Ma before exposure), temperature_c "
            "(C), depth_m (below the surface at exposure, m).")
            .c_str());
}

} // namespace erosion_python
