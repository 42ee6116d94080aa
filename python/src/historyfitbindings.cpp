// fit_history: the erosion history of 1 to 3 phases that best explains measured ages, as
// `cooling_ages history --observed FILE --fit-phases N` fits it (historyrun.h): the request built
// as a plain value, the program's compute step called directly (no file is written), and its
// result converted: the best history, the misfit level, the ranges, the profiles of the change
// times, the histories tried, the sampler's posterior and the residuals.

#include "argumenthelp.h"
#include "arrays.h"
#include "bindings.h"
#include "grainkeywords.h"
#include "helptext.h"
#include "historyfitanswer.h"
#include "historyinput.h"
#include "interruption.h"
#include "settingsinput.h"
#include "tablearguments.h"
#include "tables.h"
#include "usertext.h"

#include "agerequest.h"
#include "batchfit.h"
#include "fitparametertable.h"
#include "fittables.h"
#include "historyfit.h"
#include "historyrequest.h"
#include "historyrun.h"
#include "inputerror.h"
#include "observedages.h"
#include "observedfit.h"
#include "parametertables.h"
#include "erosionhistory.h"
#include "samplerparametertable.h"
#include "thermalparametertable.h"

#include <pybind11/stl.h>

#include <cmath>
#include <optional>
#include <span>
#include <sstream>
#include <utility>

namespace erosion_python {

namespace {


// The phases as pairs (start_ma, rate_mm_yr), oldest first.
py::list historyPairs(const ages::ErosionHistory& history)
{
    py::list pairs;
    for (const ages::ErosionPhase& phase : history)
        pairs.append(py::make_tuple(phase.startMa, phase.rateMmYr));
    return pairs;
}

// Columns of histories, headed as the program's tables head them: the fixed path start
// (start_1_ma), then one column per parameter (rate_1_mm_yr, start_2_ma, ...).
class HistoryColumns {
public:
    explicit HistoryColumns(const ages::HistorySpace& space)
        : m_space(space)
        , m_names(ages::historyColumnNames(space))
        , m_values(m_names.size())
    {
    }

    void add(std::span<const double> parameters)
    {
        m_values[0].push_back(m_space.pathStartMa);
        for (std::size_t p = 0; p < parameters.size(); ++p)
            m_values[p + 1].push_back(parameters[p]);
    }

    void into(py::dict& table)
    {
        for (std::size_t c = 0; c < m_names.size(); ++c)
            table[py::str(m_names[c])] = toArray(std::move(m_values[c]));
    }

    // The name of parameter p (0: rate_1_mm_yr).
    const std::string& parameterName(std::size_t p) const { return m_names[p + 1]; }

private:
    const ages::HistorySpace& m_space;
    std::vector<std::string> m_names;
    std::vector<std::vector<double>> m_values;
};

py::dict triedTable(const ages::HistoryFit& fit)
{
    HistoryColumns columns(fit.space);
    std::vector<double> chi2;
    for (const ages::TriedHistory& tried : fit.tried) {
        columns.add(tried.parameters);
        chi2.push_back(tried.chi2);
    }
    py::dict table;
    columns.into(table);
    table["chi2"] = toArray(std::move(chi2));
    return table;
}

py::dict profileTable(const ages::HistoryFit& fit)
{
    std::vector<double> change;
    std::vector<double> time;
    std::vector<double> chi2;
    for (const ages::ChangeTimeProfile& profile : fit.profiles) {
        for (std::size_t i = 0; i < profile.changeTimesMa.size(); ++i) {
            change.push_back(profile.change);
            time.push_back(profile.changeTimesMa[i]);
            chi2.push_back(profile.chi2[i]);
        }
    }
    py::dict table;
    table["change"] = toArray(std::move(change)).attr("astype")("int64");
    table["change_time_ma"] = toArray(std::move(time));
    table["chi2"] = toArray(std::move(chi2));
    return table;
}

// The profile of every rate and shape parameter of a ramp or decay fit: parameter (its column
// name), value, chi2; None when every phase is constant.
py::object parameterProfileTable(const ages::HistoryFit& fit)
{
    if (!fit.space.shaped())
        return py::none();
    const HistoryColumns names(fit.space);
    py::list parameter;
    std::vector<double> value;
    std::vector<double> chi2;
    for (const ages::ParameterProfile& profile : fit.parameterProfiles) {
        for (std::size_t i = 0; i < profile.curve.changeTimesMa.size(); ++i) {
            parameter.append(py::str(names.parameterName(profile.parameter)));
            value.push_back(profile.curve.changeTimesMa[i]);
            chi2.push_back(profile.curve.chi2[i]);
        }
    }
    py::dict table;
    table["parameter"] = parameter;
    table["value"] = toArray(std::move(value));
    table["chi2"] = toArray(std::move(chi2));
    return table;
}

// The sampler's walkers after the burn-in, as the program's posterior table: walker and step
// from 1, the history, and chi2 = -2 ln(likelihood) (NaN where the history could not be run).
py::object posteriorTable(const ages::HistoryFit& fit)
{
    if (!fit.posterior)
        return py::none();
    const ages::EnsembleChain& chain = fit.posterior->chain;
    std::vector<double> walker;
    std::vector<double> step;
    std::vector<double> chi2;
    HistoryColumns columns(fit.space);
    for (int s = fit.posterior->burnIn + 1; s <= chain.steps(); ++s) {
        for (int k = 0; k < chain.walkers(); ++k) {
            walker.push_back(k + 1);
            step.push_back(s);
            columns.add(chain.position(s, k));
            const double logLikelihood = chain.logLikelihood(s, k);
            chi2.push_back(std::isfinite(logLikelihood) ? -2 * logLikelihood : NAN);
        }
    }
    py::dict table;
    table["walker"] = toArray(std::move(walker)).attr("astype")("int64");
    table["step"] = toArray(std::move(step)).attr("astype")("int64");
    columns.into(table);
    table["chi2"] = toArray(std::move(chi2));
    return table;
}

// (low, high) of every parameter the fit reads a range of: each change time off its profile,
// and with one phase the rate off the misfit curve.
py::dict rangesOf(const ages::HistoryFit& fit)
{
    const HistoryColumns names(fit.space);
    py::dict ranges;
    if (fit.rateFit)
        ranges[py::str(names.parameterName(0))]
            = py::make_tuple(fit.rateFit->rangeLow, fit.rateFit->rangeHigh);
    for (const ages::ChangeTimeProfile& profile : fit.profiles)
        ranges[py::str(names.parameterName(ages::changeTimeIndex(fit.space, profile.change)))]
            = py::make_tuple(profile.rangeLowMa, profile.rangeHighMa);
    for (const ages::ParameterProfile& profile : fit.parameterProfiles)
        ranges[py::str(names.parameterName(profile.parameter))]
            = py::make_tuple(profile.curve.rangeLowMa, profile.curve.rangeHighMa);
    if (fit.otherFit)
        ranges[py::str(fit.space.otherColumn)]
            = py::make_tuple(fit.otherFit->rangeLow, fit.otherFit->rangeHigh);
    return ranges;
}

// The sampler's (16th percentile, median, 84th percentile) of every parameter; None without it.
py::object intervalsOf(const ages::HistoryFit& fit)
{
    if (!fit.posterior)
        return py::none();
    const HistoryColumns names(fit.space);
    py::dict intervals;
    for (std::size_t p = 0; p < fit.posterior->intervals.size(); ++p) {
        const ages::ParameterInterval& interval = fit.posterior->intervals[p];
        intervals[py::str(names.parameterName(p))]
            = py::make_tuple(interval.low, interval.median, interval.high);
    }
    return intervals;
}

// The request of a fit, refused in the program's order: the history, the thermal options, the
// fit's, the age options.
ages::AgeRequest historyRequest(const py::object& erosion, const int phases,
    const std::optional<Bounds>& rates, const std::optional<Bounds>& changeTimes,
    const std::optional<std::string>& sampler, const std::optional<int> steps,
    const std::optional<int> walkers, const std::optional<int> burnIn,
    const std::optional<py::int_>& seed, const std::optional<int> chains,
    const py::object& fitShapes, const std::optional<Bounds>& decayTimes, const bool keepUnreset,
    const std::optional<Bounds>& fitBase, const std::optional<double> meanElevationM,
    const double lapseRateCkm, const double surfaceTemperatureC, const double baseDepthM,
    const std::optional<double> baseTemperatureC, const std::optional<double> baseHeatFlowMWm2,
    const double conductivityWmK, const double diffusivityM2s, const double heatProductionUWm3,
    const std::optional<double> heatProductionScaleM,
    const std::optional<double> heatProductionDepthM, const std::string& initial,
    const std::optional<double> initialGradientCm, const std::string& method,
    GRAIN_PARAMETERS)
{
    ages::AgeRequest request;
    request.model = ages::Model::history;
    ages::HistoryRequest& history = request.history;
    history.erosion = erosionHistory(erosion);
    history.thermal = thermalParameters({ surfaceTemperatureC, baseDepthM, baseTemperatureC,
        baseHeatFlowMWm2, conductivityWmK, diffusivityM2s, heatProductionUWm3, heatProductionScaleM,
        heatProductionDepthM, initial, initialGradientCm });
    setFit(history,
        { phases, rates, changeTimes, sampler, steps, walkers, burnIn, seed, chains, fitShapes,
            decayTimes });
    history.keepUnreset = keepUnreset;
    history.meanElevationM = meanElevationM;
    history.lapseRateCkm = lapseRateCkm;
    setFitBase(history, fitBase);
    request.settings = ageSettings(defaultSystemNames(), method,
        GRAIN_ARGUMENTS);
    ages::checkHistoryRequest(request);
    return request;
}

// fit_history's arguments, in its order, for the functions that take them.
// clang-format off
#define HISTORY_FIT_PARAMETERS                                                                     \
    const std::optional<std::string>&observed, const py::object &erosion, const int phases,       \
        const std::optional<std::string>&observedText,                                            \
        const std::optional<std::string>&lengths, const std::optional<std::string>&lengthsText,   \
        const std::optional<std::string>&lengthsSample, const std::optional<Bounds>&rates,        \
        const std::optional<Bounds>&changeTimes, const std::optional<std::string>&sampler,        \
        const std::optional<int> steps, const std::optional<int> walkers,                         \
        const std::optional<int> burnIn, const std::optional<py::int_>&seed,                      \
        const std::optional<int> chains, const py::object &fitShapes,                             \
        const std::optional<Bounds>&decayTimes, const bool keepUnreset,                           \
        const std::optional<Bounds>&fitBase, const std::optional<double> meanElevationM,          \
        const double lapseRateCkm, const double surfaceTemperatureC,                              \
        const double baseDepthM, const std::optional<double> baseTemperatureC,                    \
        const std::optional<double> baseHeatFlowMWm2, const double conductivityWmK,               \
        const double diffusivityM2s, const double heatProductionUWm3,                             \
        const std::optional<double> heatProductionScaleM,                                         \
        const std::optional<double> heatProductionDepthM, const std::string &initial,             \
        const std::optional<double> initialGradientCm, const std::string &method,                 \
        GRAIN_PARAMETERS
#define HISTORY_REQUEST_ARGUMENTS                                                                  \
    erosion, phases, rates, changeTimes, sampler, steps, walkers, burnIn, seed, chains,           \
        fitShapes, decayTimes, keepUnreset, fitBase, meanElevationM, lapseRateCkm,                 \
        surfaceTemperatureC, baseDepthM, baseTemperatureC, baseHeatFlowMWm2, conductivityWmK,     \
        diffusivityM2s, heatProductionUWm3, heatProductionScaleM, heatProductionDepthM, initial,  \
        initialGradientCm, method, GRAIN_NAMES
// clang-format on

// The batch's model of fit_history's arguments: observed labels the messages.
ages::BatchModel batchModelHistory(HISTORY_FIT_PARAMETERS)
{
    if (observedText)
        throw ages::InputError("fit_batch takes the ages as its data, not as observed_text");
    if (lengths || lengthsText || lengthsSample)
        throw ages::InputError("fit_batch fits the groups' ages; it takes no track lengths");
    ages::BatchModel model { historyRequest(HISTORY_REQUEST_ARGUMENTS), {}, nullptr };
    model.options.observedFile = observed.value_or("");
    ages::checkBatchModel(model);
    return model;
}

// The sampler's (split R-hat, effective sample size) of every parameter; None without it.
py::object diagnosticsOf(const ages::HistoryFit& fit)
{
    if (!fit.posterior)
        return py::none();
    const HistoryColumns names(fit.space);
    py::dict diagnostics;
    for (std::size_t p = 0; p < fit.posterior->splitRhat.size(); ++p)
        diagnostics[py::str(names.parameterName(p))]
            = py::make_tuple(fit.posterior->splitRhat[p], fit.posterior->effectiveSize[p]);
    return diagnostics;
}

// The measured ages and track lengths of the arguments, read and refused as the program reads
// its --observed and --lengths.
ages::HistorySamples samplesOf(const ages::AgeRequest& request,
    const std::optional<std::string>& observed, const std::optional<std::string>& observedText,
    const std::optional<std::string>& lengths, const std::optional<std::string>& lengthsText,
    const std::optional<std::string>& lengthsSample)
{
    ages::FitOptions options;
    options.observedFile = observed.value_or("");
    options.lengthsFile = lengths.value_or("");
    options.lengthsSample = lengthsSample;
    if (!options.fits())
        throw ages::InputError("give measured ages (observed), track lengths (lengths) or both");
    if (const auto error = ages::fitOptionsError(request, options))
        throw ages::InputError(*error);
    ages::ObservedData data;
    if (observedText) {
        std::istringstream stream(*observedText);
        data = ages::parseObservedData(stream, options.observedFile);
    } else if (observed) {
        data = ages::readObservedData(*observed);
    }
    std::vector<ages::SampleLengths> measuredLengths;
    if (lengthsText) {
        std::istringstream stream(*lengthsText);
        measuredLengths = ages::parseCheckedLengths(stream, options);
    } else {
        measuredLengths = ages::readCheckedLengths(options);
    }
    return ages::historySamples(std::move(data), request, options.observedFile,
        std::move(measuredLengths), options.lengthsFile);
}

// What fit_history returns, from the outcome of the fit; its warnings raised.
py::dict historyAnswer(const ages::AgeRequest& request, const ages::HistoryOutcome& outcome)
{
    raiseWarnings(outcome.warnings);
    return historyFitAnswer(*outcome.fit, request.history.fit, outcome.summary, outcome.residuals,
        outcome.warnings, outcome.lengths);
}

py::dict fitHistory(HISTORY_FIT_PARAMETERS)
{
    const ages::AgeRequest request = historyRequest(HISTORY_REQUEST_ARGUMENTS);
    const ages::HistorySamples samples = samplesOf(request, observed, observedText, lengths, lengthsText, lengthsSample);
    // On a thread of its own, the GIL released, Ctrl-C heard in the engines' loops.
    const ages::HistoryOutcome outcome = runInterruptibly([&](const ages::FitProgress& progress) {
        return ages::computeHistoryRun(
            request, samples, { .table = false, .path = false }, progress);
    });
    return historyAnswer(request, outcome);
}

// One chain of the sampler's fit (a Dask task's work), and the fit of every chain, in order.
ages::SampledChain historyChain(HISTORY_FIT_PARAMETERS, const int chain)
{
    const ages::AgeRequest request = historyRequest(HISTORY_REQUEST_ARGUMENTS);
    const ages::HistorySamples samples = samplesOf(request, observed, observedText, lengths, lengthsText, lengthsSample);
    return runInterruptibly([&](const ages::FitProgress& progress) {
        return ages::computeHistoryChain(request, samples, chain, progress);
    });
}

py::dict fitHistoryChains(HISTORY_FIT_PARAMETERS, std::vector<ages::SampledChain> runs)
{
    const ages::AgeRequest request = historyRequest(HISTORY_REQUEST_ARGUMENTS);
    const ages::HistorySamples samples = samplesOf(request, observed, observedText, lengths, lengthsText, lengthsSample);
    if (runs.size() != static_cast<std::size_t>(request.history.fit.mcmc.chains))
        throw ages::InputError("the chains to merge are not the fit's chains");
    return historyAnswer(request, ages::mergeHistoryChains(request, samples, std::move(runs)));
}

// A chain travels between Dask's processes as its plain values: the ensemble's size, its
// positions and likelihoods, its counts, and the histories it tried.
py::tuple chainState(const ages::SampledChain& run)
{
    const ages::EnsembleChain& chain = run.chain;
    std::vector<double> positions;
    std::vector<double> likelihoods;
    for (int step = 0; step <= chain.steps(); ++step) {
        for (int k = 0; k < chain.walkers(); ++k) {
            const auto x = chain.position(step, k);
            positions.insert(positions.end(), x.begin(), x.end());
            likelihoods.push_back(chain.logLikelihood(step, k));
        }
    }
    std::vector<double> tried;
    std::vector<double> chi2;
    for (const ages::TriedHistory& history : run.tried) {
        tried.insert(tried.end(), history.parameters.begin(), history.parameters.end());
        chi2.push_back(history.chi2);
    }
    return py::make_tuple(chain.dimension(), chain.walkers(), chain.steps(), chain.proposals,
        chain.acceptances, chain.evaluations, toArray(std::move(positions)),
        toArray(std::move(likelihoods)), toArray(std::move(tried)), toArray(std::move(chi2)));
}

ages::SampledChain chainOfState(const py::tuple& state)
{
    const int dimension = state[0].cast<int>();
    const int walkers = state[1].cast<int>();
    const int steps = state[2].cast<int>();
    ages::SampledChain run { ages::EnsembleChain(dimension, walkers, steps), {} };
    ages::EnsembleChain& chain = run.chain;
    chain.proposals = state[3].cast<std::size_t>();
    chain.acceptances = state[4].cast<std::size_t>();
    chain.evaluations = state[5].cast<std::size_t>();
    const std::vector<double> positions = toVector(state[6].cast<DoubleArray>(), "positions");
    const std::vector<double> likelihoods = toVector(state[7].cast<DoubleArray>(), "likelihoods");
    const std::vector<double> tried = toVector(state[8].cast<DoubleArray>(), "tried");
    const std::vector<double> chi2 = toVector(state[9].cast<DoubleArray>(), "chi2");
    const std::size_t points = static_cast<std::size_t>(steps + 1) * walkers;
    if (positions.size() != points * dimension || likelihoods.size() != points
        || tried.size() != chi2.size() * dimension)
        throw ages::InputError("a chain's state does not hold its walkers");
    for (int step = 0; step <= steps; ++step) {
        for (int k = 0; k < walkers; ++k) {
            const std::size_t point = static_cast<std::size_t>(step) * walkers + k;
            std::copy_n(
                positions.begin() + point * dimension, dimension, chain.position(step, k).begin());
            chain.logLikelihood(step, k) = likelihoods[point];
        }
    }
    for (std::size_t i = 0; i < chi2.size(); ++i)
        run.tried.push_back({ std::vector<double>(tried.begin() + i * dimension,
                                  tried.begin() + (i + 1) * dimension),
            chi2[i] });
    return run;
}

// fit_history's arguments for function (fitHistory's signature).
template <class Function, class... Extra>
void defineHistoryFit(py::module_& module, const char* name, Function function,
    const std::string& help, Extra... extra)
{
    using thermal::thermalParameter;
    defineFunction(module, name, function, py::arg("observed"), py::arg("erosion"), py::arg("phases"),
        py::kw_only(), py::arg("observed_text") = py::none(), py::arg("lengths") = py::none(),
        py::arg("lengths_text") = py::none(), py::arg("lengths_sample") = py::none(),
        optionalKeyword(ages::fitBounds("--rates")),
        optionalKeyword(ages::fitBounds("--change-times")), py::arg("sampler") = py::none(),
        optionalKeyword(ages::samplerCount("--steps")),
        optionalKeyword(ages::samplerCount("--walkers")),
        optionalKeyword(ages::samplerCount("--burn-in")), optionalKeyword(ages::samplerSeedParameter),
        optionalKeyword(ages::samplerCount("--chains")), py::arg("fit_shapes") = py::none(),
        optionalKeyword(ages::fitBounds("--decay-times")), py::arg("keep_unreset") = false,
        optionalKeyword(ages::fitBounds("--fit-base")), py::arg("mean_elevation_m") = py::none(),
        py::arg("lapse_rate_c_km") = 6.5,
        keyword(thermalParameter("-T")), keyword(thermalParameter("-z")),
        optionalKeyword(thermalParameter("-b")), optionalKeyword(thermalParameter("-q")),
        keyword(thermalParameter("-k")), keyword(thermalParameter("-a")),
        keyword(thermalParameter("-H")), optionalKeyword(thermalParameter("--hr")),
        optionalKeyword(thermalParameter("--h-depth")), py::arg("initial") = "steady",
        optionalKeyword(thermalParameter("-B")), py::arg("method") = "all",
        grainKeywords(), extra...,
        help.c_str());
}

} // namespace

void setFitBase(ages::HistoryRequest& history, const std::optional<Bounds>& fitBase)
{
    if (!fitBase)
        return;
    const ages::ValueBounds bounds { fitBase->first, fitBase->second };
    if (const std::string error = ages::fitBaseError(bounds, history.thermal); !error.empty())
        throw py::value_error("fit_base: " + error);
    history.fitBase = bounds;
}

void setFit(ages::HistoryRequest& history, const FitArguments& arguments)
{
    history.fitPhases = arguments.phases;
    if (arguments.phases < 1 || arguments.phases > 3)
        throw ages::InputError(ages::historySpaceError(history.fitSpace(0)));
    if (arguments.rates)
        history.ratesMmYr = { arguments.rates->first, arguments.rates->second };
    if (arguments.changeTimes)
        history.changeTimesMa
            = ages::ValueBounds { arguments.changeTimes->first, arguments.changeTimes->second };
    std::string shapeWords;
    if (py::isinstance<py::str>(arguments.shapes)) {
        shapeWords = arguments.shapes.cast<std::string>();
        if (shapeWords.empty())
            throw ages::InputError(
                "--fit-shapes expects constant, ramp or decay for each phase, got ''");
    } else if (!arguments.shapes.is_none()) {
        for (const py::handle word : arguments.shapes) {
            if (!py::isinstance<py::str>(word))
                throw ages::InputError(
                    "--fit-shapes expects constant, ramp or decay for each phase, got "
                    + py::repr(word).cast<std::string>());
            shapeWords += (shapeWords.empty() ? "" : ",") + word.cast<std::string>();
        }
    }
    // Refused in the program's words, as the module's refusals are.
    ages::setFitShapes(history, shapeWords,
        arguments.decayTimes ? std::optional(ages::ValueBounds { arguments.decayTimes->first,
                                                                 arguments.decayTimes->second })
                             : std::nullopt);
    if (arguments.sampler)
        history.fit.sampler = ages::parseHistorySampler(*arguments.sampler);
    ages::SamplerSettings& mcmc = history.fit.mcmc;
    mcmc.steps = arguments.steps.value_or(mcmc.steps);
    mcmc.walkers = arguments.walkers.value_or(mcmc.walkers);
    mcmc.burnIn = arguments.burnIn.value_or(mcmc.burnIn);
    mcmc.chains = arguments.chains.value_or(mcmc.chains);
    if (arguments.seed) {
        const unsigned long long seed = PyLong_AsUnsignedLongLong(arguments.seed->ptr());
        if (PyErr_Occurred()) {
            PyErr_Clear(); // negative or above 2^64 - 1
            throw ages::InputError(ages::seedError(py::repr(*arguments.seed).cast<std::string>()));
        }
        mcmc.seed = seed;
    }
    ages::checkSamplerChoices(history,
        { .steps = arguments.steps.has_value(),
            .walkers = arguments.walkers.has_value(),
            .burnIn = arguments.burnIn.has_value(),
            .seed = arguments.seed.has_value(),
            .chains = arguments.chains.has_value() });
}


py::dict historyFitAnswer(const ages::HistoryFit& fit, const ages::HistoryFitSettings& settings,
    const std::string& summary, const std::vector<ages::Residual>& residuals,
    const std::vector<textformat::Warning>& warnings,
    const std::vector<ages::LengthComparison>& lengths)
{
    py::dict answer;
    answer["summary"] = userText(summary);
    answer["warnings"] = warningValues(warnings);
    answer["best"] = historyPairs(fit.bestHistory());
    answer["best_erosion"] = thermal::formatErosionHistory(fit.bestHistory(), 3, 4);
    answer["chi2_min"] = fit.level.chi2Min;
    answer["reduced_chi2"] = fit.level.reducedChi2;
    answer["chi2_level"] = fit.level.level;
    answer["sampler"]
        = ages::historyEngine(fit.space, settings) == ages::HistorySampler::mcmc ? "mcmc" : "grid";
    answer["ranges"] = rangesOf(fit);
    answer["intervals"] = intervalsOf(fit);
    answer["diagnostics"] = diagnosticsOf(fit);
    answer["best_base"] = fit.otherFit ? py::object(py::float_(fit.best.back())) : py::none();
    answer["profiles"] = profileTable(fit);
    answer["parameter_profiles"] = parameterProfileTable(fit);
    answer["tried"] = triedTable(fit);
    answer["posterior"] = posteriorTable(fit);
    answer["residuals"] = tableColumns(ages::residualTableColumns(), residuals);
    answer["lengths"] = tableColumns(ages::lengthComparisonColumns(), lengths);
    return answer;
}

std::vector<ArgumentHelp> fitArgumentHelp()
{
    // The bounds and the sampler's settings as the fit's parameter tables describe them.
    const auto bounds = [](const std::string_view flag) {
        const parameters::BoundsParameter& parameter = ages::fitBounds(flag);
        return ArgumentHelp { std::string(parameter.text.keyword), ages::boundsKeywordHelp(parameter) };
    };
    const auto count = [](const auto& parameter) {
        return ArgumentHelp { std::string(parameter.text.keyword),
            parameters::helpWithRange(parameter.text) + "; "
                + std::to_string(parameter.defaultValue()) + " when not given" };
    };
    return {
        bounds("--rates"),
        bounds("--change-times"),
        { "sampler",
            "'grid' (1 or 2 phases: a sweep, or a grid with inner minimisations; one ramp or "
            "decay: profiles with inner minimisations) or 'mcmc' (the ensemble sampler); by "
            "default grid for 1 phase or 2 constant ones, mcmc otherwise" },
        count(ages::samplerCount("--steps")),
        count(ages::samplerCount("--walkers")),
        count(ages::samplerCount("--burn-in")),
        count(ages::samplerSeedParameter),
        bounds("--fit-base"),
    };
}

void bindHistoryFit(py::module_& module)
{
    std::vector<ArgumentHelp> help {
        { "observed",
            "the measured ages: a CSV file with the columns sample, system, age_ma, sigma_ma and "
            "optionally radius_um, u_ppm, th_ppm, sm_ppm, dpar_um (a sample's own grain replaces "
            "the age options for that sample), elevation_m (with mean_elevation_m) and depth_m "
            "(below the site's surface) placing each sample in the column; rows of system T "
            "(temperature_c, sigma_c at depth_m) and Q (heat_flow_mw_m2, sigma_mw_m2) are data of "
            "the column today; without elevations or depths all samples are one rock" },
        { "erosion",
            std::string(erosionHelp)
                + "; its first start is where every fitted history starts, the rest is the fit's "
                  "to choose" },
        { "phases", "phases of the history to fit: 1, 2 or 3" },
        { "fit_shapes",
            "the shape of each fitted phase, oldest first, as a list of words or one string "
            "'constant,ramp': constant (a rate), ramp (its start and end rates, both within "
            "rates) or decay (its start rate and its decay time TAU, within decay_times); all "
            "constant when not given" },
        { "decay_times", ages::boundsKeywordHelp(ages::fitBounds("--decay-times")) },
        { "observed_text",
            "the text of such a file instead; observed then names it in the messages" },
        { "chains",
            "mcmc: independent ensembles, chain k seeded from the seed and k, their walkers "
            "merged, with each parameter's split R-hat and effective sample size (diagnostics); "
            "with fit_history's client=, a dask.distributed Client, each chain is one task of "
            "its cluster; 1 when not given" },
        { "keep_unreset",
            "keep measured ages older than the path in chi2 (by default they are left out and "
            "named in a warning, for a prediction along the path can only be a lower bound)" },
        { "mean_elevation_m",
            "the field elevation of the column's surface (m): a sample with elevation_m e lies "
            "e - mean_elevation_m above it; needed when the samples carry elevations" },
        { "lapse_rate_c_km",
            "the fall of the surface temperature with height above the mean surface (C/km)" },
    };
    std::vector<ArgumentHelp> fitted = lengthsHelp();
    append(fitted, fitArgumentHelp());
    help.insert(help.begin() + 4, fitted.begin(), fitted.end());
    append(help, thermalArgumentHelp());
    append(help, ageOptionHelp());

    defineHistoryFit(module, "fit_history", &fitHistory,
        helpText("The erosion history of 1 to 3 phases that best explains measured ages, as "
                 "cooling_ages history --observed --fit-phases fits it: every history tried is "
                 "run through the thermal model, every sample is dated along the path of the "
                 "rock exposed today with its own grain, and chi2 = sum(((age_obs - age_pred) / "
                 "sigma)^2) is minimised, by a sweep (1 phase), a grid with inner minimisations "
                 "(2 phases) or the ensemble sampler (3 phases, or on request). The fit runs on "
                 "all cores with the GIL released; Ctrl-C stops it (KeyboardInterrupt).",
            help,
            "a dict: summary (the lines the program writes on standard error, whose warnings are "
            "also raised as UserWarnings); warnings (those warnings as dicts: kind, samples, "
            "text); best (the best history, a list of pairs (start_ma, "
            "rate_mm_yr), oldest first, the start rate of a ramp or decay); best_erosion (the "
            "best history in the syntax of erosion, a ramp's and a decay's shapes with it); "
            "chi2_min, reduced_chi2 (chi2_min / (samples - "
            "parameters), NaN without degrees of freedom) and chi2_level (the level the ranges "
            "are read at: chi2_min + max(1, reduced_chi2)); sampler ('grid' or 'mcmc', the "
            "engine that ran); ranges (by parameter: (low, high) of each change time, start_2_ma "
            "and start_3_ma, read off its profile, and for one phase of rate_1_mm_yr off the "
            "misfit curve; with fit_shapes of every rate, end_rate_K_mm_yr and tau_K_myr, each "
            "off its profile); intervals (mcmc: by parameter, (16th percentile, median, 84th "
            "percentile) over the posterior; None otherwise); diagnostics (mcmc: by parameter, "
            "(split R-hat, effective sample size) over every walker of every chain; None "
            "otherwise); profiles (change, change_time_ma, "
            "chi2: the misfit minimised over the other parameters at each change time); "
            "parameter_profiles (with fit_shapes: parameter, value, chi2, the same for each rate "
            "and shape parameter; None otherwise); tried "
            "(every history run, start_1_ma, rate_1_mm_yr, start_2_ma, ..., chi2); posterior "
            "(mcmc: the walkers after the burn-in, walker, step, the history's columns, chi2; "
            "None otherwise); residuals (the samples at the best history, with the columns of "
            "the program's --residuals table); lengths (with lengths: each sample's measured "
            "lengths against the prediction at the best history, "
            + lengthColumnNames()
            + "). Tables are DataFrames from "
            "erosion_thermal.fit_history (dicts of arrays without pandas)."));
    py::class_<ages::SampledChain>(
        module, "_SampledChain", "One ensemble of the sampler's fit, as a Dask task hands it back.")
        .def(py::pickle(&chainState, &chainOfState));
    defineHistoryFit(module, "_history_chain", &historyChain,
        "Chain k of the sampler's fit of fit_history's arguments (a task of fit_history with a "
        "client).",
        py::arg("chain"));
    defineHistoryFit(module, "_fit_history_chains", &fitHistoryChains,
        "fit_history's answer from its chains (from _history_chain, in order).", py::arg("runs"));
    defineHistoryFit(module, "_batch_model_history", &batchModelHistory,
        "The model fit_batch fits every group with: fit_history's arguments, observed naming the "
        "data in the messages.");
}

} // namespace erosion_python
