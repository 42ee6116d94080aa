// fit_rate_transient and fit_rate_periodic: the erosion rate that best explains measured ages,
// found by cooling_ages's sweep (observedfit.h): every sample predicted with its own grain at
// every rate, chi2, the best rate refined between grid points, its range and the residuals.

#include "argumenthelp.h"
#include "arrays.h"
#include "bindings.h"
#include "grainkeywords.h"
#include "helptext.h"
#include "interruption.h"
#include "settingsinput.h"
#include "tablearguments.h"
#include "tables.h"
#include "usertext.h"

#include "agerequest.h"
#include "agerun.h"
#include "batchfit.h"
#include "fitoptions.h"
#include "fitparametertable.h"
#include "fittables.h"
#include "inputerror.h"
#include "observedfit.h"
#include "parametertables.h"
#include "ratefit.h"
#include "ratefitbase.h"
#include "ratesweep.h"
#include "thermochron/system.h"

#include <pybind11/stl.h>

#include <array>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace erosion_python {

namespace {

// (low, high) of the fitted base, as fit_history takes it.
using Bounds = std::pair<double, double>;

// The sweep (start, stop, step) in mm/yr, refused as --rates START:STOP:STEP is.
ages::RateSweep rateSweep(const std::array<double, 3>& rates)
{
    return ages::checkedRateSweep({ rates[0], rates[1], rates[2] });
}

// The best rate, its range and the misfit curve of one fit.
py::dict rateFitDict(const ages::RateFit& fit)
{
    py::dict answer;
    answer["best"] = fit.bestRate;
    answer["low"] = fit.rangeLow;
    answer["high"] = fit.rangeHigh;
    answer["chi2_min"] = fit.chi2Min;
    answer["reduced_chi2"] = fit.reducedChi2;
    answer["chi2_level"] = fit.rangeLevel;
    answer["rates"] = toArray(std::vector<double>(fit.rates));
    answer["chi2"] = toArray(std::vector<double>(fit.chi2));
    return answer;
}

// Where the measured data of a fit come from: a file, or the text of one (the label then names
// it in the messages); none for no such data.
struct FitData {
    std::optional<std::string> label;
    std::optional<std::string> text;
};

// The fit of the request to the samples and lengths of files or of their texts, computed and
// refused as the program computes and refuses it: the samples, then the age options and the
// model's values at every rate, then one pass over the rates on all cores.
py::dict fitRate(ages::AgeRequest& request, const FitData& observed, const FitData& lengths,
    const std::optional<std::string>& lengthsSample, const double meanElevationM,
    const bool keepUnreset, const std::optional<Bounds>& fitBase,
    const bool meanElevationGiven = false, const double lapseRateCkm = 6.5)
{
    ages::FitOptions options;
    options.observedFile = observed.label.value_or("");
    options.lengthsFile = lengths.label.value_or("");
    options.lengthsSample = lengthsSample;
    options.meanElevationM = meanElevationM;
    options.meanElevationGiven = meanElevationGiven;
    options.lapseRateCkm = lapseRateCkm;
    options.keepUnreset = keepUnreset;
    if (fitBase) {
        // The program's words, the keyword for the option.
        const ages::ValueBounds bounds { fitBase->first, fitBase->second };
        if (const std::string error = ages::rateFitBaseError(request, bounds); !error.empty())
            throw ages::InputError("fit_base: " + error);
        options.fitBase = bounds;
    }
    if (!options.fits())
        throw ages::InputError("give measured ages (observed), track lengths (lengths) or both");
    if (const auto error = ages::fitOptionsError(request, options))
        throw ages::InputError(*error);
    std::vector<ages::ObservedAge> samples;
    if (observed.text) {
        std::istringstream stream(*observed.text);
        samples = ages::parseCheckedSamples(stream, request, options);
    } else {
        samples = ages::readCheckedSamples(request, options);
    }
    std::vector<ages::SampleLengths> measuredLengths;
    if (lengths.text) {
        std::istringstream stream(*lengths.text);
        measuredLengths = ages::parseCheckedLengths(stream, options);
    } else {
        measuredLengths = ages::readCheckedLengths(options);
    }
    const ages::ObservedFit fit(
        request, options, std::move(samples), {}, std::move(measuredLengths));
    // On a thread of its own, the GIL released, Ctrl-C heard between rates.
    const ages::FitResult result = runInterruptibly([&](const ages::FitProgress& progress) {
        try {
            return ages::requestedFit(request, fit, progress);
        } catch (const ages::InputError&) {
            throw;
        } catch (const std::system_error&) {
            throw; // the system's own failure (threads), not the fit's
        } catch (const std::runtime_error& error) {
            // No rate gave a misfit that is a number (every prediction NaN): a refusal of these
            // samples and this model, as the module raises every refusal.
            throw ages::InputError(error.what());
        }
    });
    // What the program writes on standard error (it writes no file here).
    std::ostringstream report;
    fit.report(result, report);
    const std::vector<textformat::Warning> warnings = fit.warnings(result);
    raiseWarnings(warnings);

    py::dict answer = rateFitDict(result.fit);
    py::dict systems;
    for (const ages::SystemFit& system : result.systems)
        systems[py::str(std::string(thermochron::systemName(system.system)))]
            = rateFitDict(system.fit);
    answer["systems"] = systems;
    answer["best_base"] = py::none();
    answer["base"] = py::none();
    answer["map"] = py::none();
    if (result.base) {
        const std::string column = ages::rateFitBaseWords(request, *options.fitBase).column;
        const ages::RateFit& base = result.base->base;
        answer["best_base"] = base.bestRate;
        py::dict profile;
        profile["column"] = column;
        profile["best"] = base.bestRate;
        profile["low"] = base.rangeLow;
        profile["high"] = base.rangeHigh;
        profile["bases"] = toArray(std::vector<double>(base.rates));
        profile["chi2"] = toArray(std::vector<double>(base.chi2));
        answer["base"] = profile;
        // The --fit-output map: a row per rate and base, the rates of one base together.
        std::vector<double> rates, bases;
        for (const double value : result.base->bases)
            for (const double rate : result.fit.rates) {
                rates.push_back(rate);
                bases.push_back(value);
            }
        py::dict map;
        map["rate_mm_yr"] = toArray(std::move(rates));
        map[py::str(column)] = toArray(std::move(bases));
        map["chi2"] = toArray(std::vector<double>(result.base->chi2));
        answer["map"] = map;
    }
    answer["residuals"] = tableColumns(ages::residualTableColumns(), result.residuals);
    answer["lengths"] = tableColumns(ages::lengthComparisonColumns(), result.lengths);
    answer["summary"] = userText(report.str());
    answer["warnings"] = warningValues(warnings);
    return answer;
}

// A batch's model from a fit's request: the options a fit of one file takes, the file's name
// labelling the messages.
ages::BatchModel batchModel(ages::AgeRequest request, const std::string& observed,
    const std::optional<std::string>& observedText, const double meanElevationM,
    const bool keepUnreset, const bool lengthsGiven, const bool fitBaseGiven,
    const bool meanElevationGiven = false, const double lapseRateCkm = 6.5)
{
    if (fitBaseGiven)
        throw ages::InputError("fit_batch fits each group's rate on the model's geotherm; it takes "
                               "no fit_base");
    if (observedText)
        throw ages::InputError("fit_batch takes the ages as its data, not as observed_text");
    if (lengthsGiven)
        throw ages::InputError("fit_batch fits the groups' ages; it takes no track lengths");
    ages::BatchModel model { std::move(request), {}, nullptr };
    model.options.observedFile = observed;
    model.options.meanElevationM = meanElevationM;
    model.options.meanElevationGiven = meanElevationGiven;
    model.options.lapseRateCkm = lapseRateCkm;
    model.options.keepUnreset = keepUnreset;
    checkBatchModel(model);
    return model;
}

ages::AgeRequest transientRequest(const std::array<double, 3>& rates, const double exposureMyr,
    const double surfaceTemperatureC, const double gradientCm, const double diffusivityM2s,
    const std::string& method, GRAIN_PARAMETERS)
{
    ages::AgeRequest request;
    request.model = ages::Model::transient;
    request.transient.surfaceTemp = surfaceTemperatureC;
    request.transient.basalGradient = gradientCm;
    request.transient.diffusivity = diffusivityM2s;
    request.transient.historyTime = exposureMyr;
    request.settings = ageSettings(defaultSystemNames(), method,
        GRAIN_ARGUMENTS);
    request.sweep = rateSweep(rates);
    return request;
}

py::dict fitRateTransient(const std::optional<std::string>& observed,
    const std::array<double, 3>& rates, const std::optional<std::string>& observedText,
    const bool keepUnreset,
    const std::optional<std::string>& lengths, const std::optional<std::string>& lengthsText,
    const std::optional<std::string>& lengthsSample, const std::optional<Bounds>& fitBase,
    const std::optional<double> meanElevationM, const double lapseRateCkm,
    const double exposureMyr,
    const double surfaceTemperatureC, const double gradientCm, const double diffusivityM2s,
    const std::string& method, GRAIN_PARAMETERS)
{
    ages::AgeRequest request = transientRequest(rates, exposureMyr, surfaceTemperatureC, gradientCm,
        diffusivityM2s, method, GRAIN_NAMES);
    return fitRate(request, { observed, observedText }, { lengths, lengthsText }, lengthsSample,
        meanElevationM.value_or(0), keepUnreset, fitBase, meanElevationM.has_value(),
        lapseRateCkm);
}

// The batch's model of the same arguments (observed labels the messages; the groups bring the
// ages, so observed_text is refused).
ages::BatchModel batchModelTransient(const std::string& observed,
    const std::array<double, 3>& rates, const std::optional<std::string>& observedText,
    const bool keepUnreset,
    const std::optional<std::string>& lengths, const std::optional<std::string>& lengthsText,
    const std::optional<std::string>& lengthsSample, const std::optional<Bounds>& fitBase,
    const std::optional<double> meanElevationM, const double lapseRateCkm,
    const double exposureMyr, const double surfaceTemperatureC,
    const double gradientCm,
    const double diffusivityM2s, const std::string& method, GRAIN_PARAMETERS)
{
    return batchModel(transientRequest(rates, exposureMyr, surfaceTemperatureC, gradientCm,
                          diffusivityM2s, method, GRAIN_NAMES),
        observed, observedText, meanElevationM.value_or(0), keepUnreset,
        lengths || lengthsText || lengthsSample, fitBase.has_value(), meanElevationM.has_value(),
        lapseRateCkm);
}

ages::AgeRequest periodicRequest(const std::array<double, 3>& rates, const double durationMyr,
    const int points, const double surfaceTemperatureC, const double lapseRateCKm,
    const double basalTemperatureC, const double basalDepthM, const double wavelengthM,
    const double reliefM, const double diffusivityM2s, const std::string& method,
    GRAIN_PARAMETERS)
{
    ages::AgeRequest request;
    request.model = ages::Model::periodic;
    request.periodic.diffusivity = diffusivityM2s;
    request.periodic.surfaceTemp = surfaceTemperatureC;
    request.periodic.lapseRate = lapseRateCKm;
    request.periodic.basalTemp = basalTemperatureC;
    request.periodic.basalDepth = basalDepthM;
    request.periodic.wavelength = wavelengthM;
    request.periodic.reliefAmplitude = reliefM;
    request.periodic.historyDuration = durationMyr;
    request.periodic.pointCount = points;
    request.settings = ageSettings(defaultSystemNames(), method,
        GRAIN_ARGUMENTS);
    request.sweep = rateSweep(rates);
    return request;
}

py::dict fitRatePeriodic(const std::optional<std::string>& observed,
    const std::array<double, 3>& rates, const std::optional<std::string>& observedText,
    const bool keepUnreset,
    const std::optional<std::string>& lengths, const std::optional<std::string>& lengthsText,
    const std::optional<std::string>& lengthsSample, const std::optional<Bounds>& fitBase,
    const double meanElevationM, const double durationMyr, const int points, const double surfaceTemperatureC,
    const double lapseRateCKm, const double basalTemperatureC, const double basalDepthM,
    const double wavelengthM, const double reliefM, const double diffusivityM2s,
    const std::string& method, GRAIN_PARAMETERS)
{
    ages::AgeRequest request = periodicRequest(rates, durationMyr, points, surfaceTemperatureC,
        lapseRateCKm, basalTemperatureC, basalDepthM, wavelengthM, reliefM, diffusivityM2s, method,
        GRAIN_NAMES);
    return fitRate(request, { observed, observedText }, { lengths, lengthsText }, lengthsSample,
        meanElevationM, keepUnreset, fitBase);
}

ages::BatchModel batchModelPeriodic(const std::string& observed, const std::array<double, 3>& rates,
    const std::optional<std::string>& observedText, const bool keepUnreset,
    const std::optional<std::string>& lengths, const std::optional<std::string>& lengthsText,
    const std::optional<std::string>& lengthsSample, const std::optional<Bounds>& fitBase,
    const double meanElevationM, const double durationMyr, const int points, const double surfaceTemperatureC,
    const double lapseRateCKm, const double basalTemperatureC, const double basalDepthM,
    const double wavelengthM, const double reliefM, const double diffusivityM2s,
    const std::string& method, GRAIN_PARAMETERS)
{
    return batchModel(periodicRequest(rates, durationMyr, points, surfaceTemperatureC, lapseRateCKm,
                          basalTemperatureC, basalDepthM, wavelengthM, reliefM, diffusivityM2s,
                          method, GRAIN_NAMES),
        observed, observedText, meanElevationM, keepUnreset,
        lengths || lengthsText || lengthsSample, fitBase.has_value());
}

// The help of both fits: the summary, the arguments before and after the model's own, the result.
std::string fitHelp(const char* model, std::vector<ArgumentHelp> modelArguments,
    std::vector<ArgumentHelp> fitArguments)
{
    std::vector<ArgumentHelp> help {
        { "observed",
            "the measured ages: a CSV file with the columns sample, system, age_ma, sigma_ma and "
            "optionally elevation_m, radius_um, u_ppm, th_ppm, sm_ppm, dpar_um (a sample's own "
            "grain replaces the age options for that sample); None for a fit of lengths alone" },
        { "rates", "the sweep (start, stop, step), start > 0 (mm/yr)" },
        { "observed_text",
            "the text of such a file instead; observed then names it in the messages" },
        { "keep_unreset",
            "keep measured ages older than the paths in chi2 (by default they are left out and "
            "named in a warning, for a prediction along the paths can only be a lower bound)" },
    };
    append(help, lengthsHelp());
    append(help, std::move(fitArguments));
    append(help, std::move(modelArguments));
    append(help, ageOptionHelp());
    return helpText(std::string("The erosion rate of the ") + model
            + " model that best explains measured ages, as cooling_ages " + model
            + " --observed --rates fits it: every sample is predicted with its own grain at "
              "every rate of the sweep, by its system's kinetic model unless method is dodson "
              "(Dodson closure for systems without one), and chi2 = sum(((age_obs - age_pred) "
              "/ sigma)^2) is minimised. Every rate runs on all cores; the GIL is released "
              "meanwhile, and Ctrl-C stops the fit (KeyboardInterrupt).",
        help,
        "a dict: best (the best rate, refined between grid points, mm/yr), low and high (its "
        "range, where chi2 <= chi2_level = chi2_min + max(1, reduced chi2), mm/yr), chi2_min, "
        "reduced_chi2 (chi2_min / (N - 1)), chi2_level, rates and chi2 (the misfit curve, "
        "arrays); systems (with two systems or more: each system's samples fitted alone, a dict "
        "of such dicts by system name); residuals (the samples at the best rate, with the columns "
        "of the program's --residuals table; a DataFrame from erosion_thermal.fit_rate); summary "
        "(the lines the program writes on standard error, whose warnings are also raised as "
        "UserWarnings); warnings (those warnings as dicts: kind, samples, text); lengths (with "
        "lengths: each sample's measured lengths against the prediction at the best rate, "
            + lengthColumnNames()
            + "); with fit_base, best_base (the best base), base (its profile: column, best, low, "
              "high, bases and chi2, the least chi2 over the rates at each base) and map (chi2 "
              "at every rate and base, the columns of --fit-output), else None.");
}

// The arguments of the transient model's fit, for function (fitRateTransient's signature).
template <class Function>
void defineTransientFit(
    py::module_& module, const char* name, Function function, const std::string& help)
{
    defineFunction(module, name, function, py::arg("observed"), py::arg("rates"), py::kw_only(),
        py::arg("observed_text") = py::none(), py::arg("keep_unreset") = false,
        py::arg("lengths") = py::none(), py::arg("lengths_text") = py::none(),
        py::arg("lengths_sample") = py::none(), py::arg("fit_base") = py::none(),
        py::arg("mean_elevation_m") = py::none(), py::arg("lapse_rate_c_km") = 6.5,
        keyword(ages::transientParameter("-o")), keyword(ages::transientParameter("-T")),
        keyword(ages::transientParameter("-B")), keyword(ages::transientParameter("-a")),
        py::arg("method") = "all",
        grainKeywords(),
        help.c_str());
}

// The same for the periodic model (fitRatePeriodic's signature).
template <class Function>
void definePeriodicFit(
    py::module_& module, const char* name, Function function, const std::string& help)
{
    defineFunction(module, name, function, py::arg("observed"), py::arg("rates"), py::kw_only(),
        py::arg("observed_text") = py::none(), py::arg("keep_unreset") = false,
        py::arg("lengths") = py::none(), py::arg("lengths_text") = py::none(),
        py::arg("lengths_sample") = py::none(), py::arg("fit_base") = py::none(),
        py::arg("mean_elevation_m") = 0.0, keyword(ages::periodicParameter("-o")),
        keyword(ages::periodicPointCount), keyword(ages::periodicParameter("-T")),
        keyword(ages::periodicParameter("-L")), keyword(ages::periodicParameter("-b")),
        keyword(ages::periodicParameter("-z")), keyword(ages::periodicParameter("-w")),
        keyword(ages::periodicParameter("-A")), keyword(ages::periodicParameter("-a")),
        py::arg("method") = "all",
        grainKeywords(),
        help.c_str());
}

const char* const batchModelHelp
    = "The model fit_batch fits every group with: the arguments of the fit of one file, "
      "observed naming the data in the messages.";

} // namespace

void bindFit(py::module_& module)
{
    const std::vector<ArgumentHelp> exposure {
        { "fit_base", ages::boundsKeywordHelp(ages::transientFitBase) },
        { "mean_elevation_m",
            "field elevation of the model's surface, needed for samples with elevation_m: a "
            "sample h = e - M above it was u t - h deep t Myr before its exposure, in the relief "
            "while that is negative (m)" },
        { "lapse_rate_c_km",
            "the surface temperature of a sample in the relief is surface_temperature_c less "
            "this per km of its height (C/km)" },
        { "exposure_myr",
            "exposure time of the dated rocks after erosion began, every sample's (Myr)" }
    };
    const std::vector<ArgumentHelp> meanElevation {
        { "fit_base", ages::boundsKeywordHelp(ages::periodicFitBase) },
        { "mean_elevation_m",
            "field elevation of the model's mean surface: a sample at elevation e lies at e - M on "
            "the model's ridge-to-valley half-profile (m)" }
    };
    defineTransientFit(module, "fit_rate_transient", &fitRateTransient,
        fitHelp("transient", transientArgumentHelp(false), exposure));
    definePeriodicFit(module, "fit_rate_periodic", &fitRatePeriodic,
        fitHelp("periodic", periodicArgumentHelp(false), meanElevation));
    defineTransientFit(module, "_batch_model_transient", &batchModelTransient, batchModelHelp);
    definePeriodicFit(module, "_batch_model_periodic", &batchModelPeriodic, batchModelHelp);
}

} // namespace erosion_python
