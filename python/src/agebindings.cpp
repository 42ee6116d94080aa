// age: the age that one thermochronometer records along one cooling path (thermochron/
// predictAge), with cooling_ages's checks of the system, method and grain and its messages.

#include "argumenthelp.h"
#include "arrays.h"
#include "bindings.h"
#include "helptext.h"
#include "pathinput.h"

#include "ageprediction.h"
#include "agesettings.h"
#include "cataloguetext.h"

#include "thermochron/catalogue.h"
#include "thermochron/predict.h"

#include <pybind11/stl.h>

#include <optional>

namespace erosion_python {

namespace {

const thermochron::Grain defaultGrain;

// The one system named, as --systems reads names.
thermochron::System oneSystem(const std::string& name)
{
    const std::vector<thermochron::System> systems = ages::parseSystems(name);
    if (systems.size() != 1)
        throw py::value_error("system names one system (got '" + name + "')");
    return systems.front();
}

// The method of one age: "dodson", or "kinetic" for the system's kinetic model.
thermochron::Method oneMethod(const thermochron::System system, const std::string& name)
{
    const ages::MethodChoice choice = ages::parseMethodChoice(name);
    if (choice == ages::MethodChoice::all)
        throw py::value_error("method of one age is dodson or kinetic (got 'all')");
    if (choice == ages::MethodChoice::dodson)
        return thermochron::Method::Dodson;
    return *thermochron::kineticMethod(system); // every system of the catalogue has one
}

// The kinetics of the age: the catalogue's defaults, or the kinetics named, read as the option
// that chooses the system's kinetics reads them (--apatite-kinetics for AHe); a system without
// such an option has the one kinetics of each method.
thermochron::KineticsChoice kineticsChoice(const thermochron::System system,
    const thermochron::Method method, const std::optional<std::string>& name)
{
    thermochron::KineticsChoice choice;
    if (!name)
        return choice;
    for (const ages::KineticsOption& option : ages::kineticsOptions)
        if (option.system == system && method != thermochron::Method::Dodson) {
            choice.*option.choice = ages::parseKineticsOf(system, *name);
            return choice;
        }
    // oneMethod has made sure that the method applies to the system.
    const std::optional<thermochron::Kinetics> only
        = thermochron::kineticsFor(system, method, choice);
    if (thermochron::parseKinetics(*name) != only)
        throw py::value_error("kinetics: " + std::string(thermochron::systemName(system)) + " by "
            + std::string(thermochron::methodName(method)) + " has the kinetics "
            + std::string(thermochron::kineticsName(*only)) + " alone (got '" + *name + "')");
    return choice;
}

py::dict age(const DoubleArray& timeMa, const DoubleArray& temperatureC,
    const std::string& systemName, const std::string& methodName,
    const std::optional<double> radiusUm, const double uPpm, const double thPpm, const double smPpm,
    const double dparUm, const std::optional<std::string>& kineticsName, const double pressureKbar,
    const bool californiumIrradiated)
{
    const thermochron::System system = oneSystem(systemName);
    const thermochron::Method method = oneMethod(system, methodName);

    // The grain is checked as the age options are: the radius as that of the system's mineral.
    ages::AgeSettings settings;
    settings.systems = { system };
    const ages::RadiusOption* radius = ages::radiusOptionFor(system);
    if (radius && radiusUm)
        settings.*radius->radiusUm = *radiusUm;
    else if (radiusUm) // a system whose model reads no radius: checked as the apatite's
        settings.apatiteRadiusUm = *radiusUm;
    settings.uPpm = uPpm;
    settings.thPpm = thPpm;
    settings.smPpm = smPpm;
    settings.dparUm = dparUm;
    settings.pressureKbar = pressureKbar;
    settings.californiumIrradiated = californiumIrradiated;
    settings.kinetics = kineticsChoice(system, method, kineticsName);
    raiseIf(ages::settingsError(settings));

    const ages::SamplePath sample = samplePath(timeMa, temperatureC);
    thermochron::Age predicted;
    ages::PredictedLengths lengths;
    {
        const py::gil_scoped_release release;
        const thermochron::Grain grain = settings.grainFor(system);
        predicted = thermochron::predictAge(sample.path, system, method, grain, settings.kinetics);
        if (system == thermochron::System::AFT && method == thermochron::Method::Annealing)
            lengths = ages::predictedLengths(sample.path, grain, settings);
    }
    py::dict result;
    result["age_ma"] = predicted.ageMa;
    result["raw_age_ma"] = predicted.rawAgeMa;
    result["closure_temperature_c"] = predicted.closureTemperatureC;
    result["reset"] = predicted.reset;
    result["path_start_ma"] = predicted.pathStartMa;
    result["kinetics"] = std::string(thermochron::kineticsName(predicted.kinetics));
    result["mean_track_length_um"] = lengths.projectedMeanUm;
    result["track_length_sd_um"] = lengths.projectedSdUm;
    result["mean_track_length_unprojected_um"] = lengths.unprojectedMeanUm;
    result["track_length_sd_unprojected_um"] = lengths.unprojectedSdUm;
    return result;
}

// The radius of the grain or domain of the system's mineral, with each mineral's range and
// default: the radius options of cooling_ages.
std::string radiusHelp()
{
    const ages::AgeSettings defaults;
    std::string ranges;
    for (const ages::RadiusOption& radius : ages::radiusOptions)
        ranges += std::string(ranges.empty() ? "" : "; ")
            + std::string(thermochron::mineralName(radius.mineral)) + " ("
            + ages::systemNamesByMethod(thermochron::Method::Diffusion, radius.mineral) + ") "
            + shownNumber(radius.lowUm) + " to " + shownNumber(radius.highUm) + ", default "
            + shownNumber(defaults.*radius.radiusUm);
    return "radius of the grain or argon diffusion domain of the system's mineral, None for the "
           "mineral's default: "
        + ranges + " (um)";
}

// "rdaam (AHe): ..., the default; farley (AHe): ...; ...": every system's kinetics.
std::string describedKinetics()
{
    std::string text;
    for (const thermochron::SystemEntry& entry : thermochron::systemCatalogue)
        text += std::string(text.empty() ? "" : "; ") + std::string(entry.name) + ": "
            + ages::describedKinetics(entry.system);
    return text;
}

} // namespace

void bindAge(py::module_& module)
{
    const ages::AgeSettings settings;
    module.def("age", &age, py::arg("time_ma"), py::arg("temperature_c"), py::kw_only(),
        py::arg("system") = std::string(thermochron::systemName(settings.systems.front())),
        py::arg("method") = "kinetic", py::arg("radius_um") = py::none(),
        py::arg("u_ppm") = defaultGrain.uPpm, py::arg("th_ppm") = defaultGrain.thPpm,
        py::arg("sm_ppm") = defaultGrain.smPpm, py::arg("dpar_um") = defaultGrain.dparUm,
        py::arg("kinetics") = py::none(), py::arg("pressure_kbar") = settings.pressureKbar,
        py::arg("cf_irradiated") = false,
        helpText("The age that a thermochronometer records along one cooling path, as "
                 "cooling_ages predicts it: Dodson closure at the local cooling rate, or the "
                 "kinetic model of the system ((U-Th)/He production and diffusion in a spherical "
                 "grain, 40Ar/39Ar production and diffusion in a sphere, cylinder or sheet, "
                 "apatite and zircon fission-track annealing). A kinetic age is the age "
                 "accumulated since the path's start, the grain holding nothing before it.",
            {
                { "time_ma", "times of the path's points before present, either order (Ma)" },
                { "temperature_c", "the temperature at each time (C)" },
                { "system", "one of " + ages::describedSystems() },
                { "method",
                    "dodson (closure temperature) or kinetic (" + ages::kineticSystemsText()
                        + ")" },
                { "radius_um", radiusHelp() },
                { "u_ppm", "uranium content (ppm)" },
                { "th_ppm", "thorium content (ppm)" },
                { "sm_ppm", "total samarium content (ppm); U, Th and Sm not all 0" },
                { "dpar_um", dparHelp() },
                { "kinetics",
                    "the kinetics of the kinetic age, None for the system's default: "
                        + describedKinetics() },
                { "pressure_kbar",
                    "pressure the grain cooled at (40Ar/39Ar; the activation volume of muscovite "
                    "reads it), "
                        + shownNumber(ages::minPressureKbar) + " to "
                        + shownNumber(ages::maxPressureKbar) + " (kbar)" },
                { "cf_irradiated", californiumHelp() },
            },
            "a dict: age_ma (Ft-corrected for (U-Th)/He, Ma), raw_age_ma (He: before the Ft "
            "correction, Ma), closure_temperature_c (Dodson: at the closure point; kinetic: the "
            "path's temperature at the age, C), reset (False: the path does not erase what the "
            "grain held before it began, so the age is a lower bound), path_start_ma, kinetics "
            "(the name of the kinetics that made the age), mean_track_length_um and "
            "track_length_sd_um (AFT annealing: the c-axis projected track lengths, um), "
            "mean_track_length_unprojected_um and track_length_sd_unprojected_um (the "
            "unprojected ones). NaN where a value does not apply.")
            .c_str());
}

} // namespace erosion_python
