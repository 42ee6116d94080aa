#include "observedfit.h"

#include "ageprediction.h"
#include "inputerror.h"
#include "periodicpaths.h"
#include "profile.h"
#include "profileinterpolation.h"
#include "steadystatefit.h"
#include "transientpath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ages {

namespace {

// Time step (Myr) of the periodic paths a fit predicts along. The kinetic models take their own
// steps (a fraction of a Myr, or 1 C), interpolating the path linearly in between; at 0.05 Myr
// that interpolation moves an age by about 1e-5 of itself, and a fit computes a path for every
// sample's place at every rate.
constexpr double fitPathStepMyr = 0.05;

std::vector<AgeKind> kindsOf(
    const std::vector<ObservedAge>& samples, const AgeRequest& request, const FitOptions& options)
{
    try {
        return sampleAgeKinds(samples, request.settings, options.observedFile);
    } catch (const ObservedAgesError& error) {
        throw InputError(error.what());
    }
}

std::vector<MeasuredAge> measured(const std::vector<ObservedAge>& samples)
{
    std::vector<MeasuredAge> ages;
    ages.reserve(samples.size());
    for (const auto& sample : samples) {
        ages.push_back({ sample.ageMa, sample.sigmaMa });
    }
    return ages;
}

std::string formatted(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The samples read by read(), checked for the request's model; InputError for any refusal.
template <class Read>
std::vector<ObservedAge> checkedSamples(
    const AgeRequest& request, const FitOptions& options, const Read& read)
{
    try {
        auto samples = read();
        if (request.model == Model::periodic) {
            if (auto error = elevationOutsideRelief(samples, options.observedFile,
                    options.meanElevationM, request.periodic.reliefAmplitude)) {
                throw ObservedAgesError(*error);
            }
        }
        return samples;
    } catch (const ObservedAgesError& error) {
        throw InputError(error.what());
    }
}

} // namespace

std::vector<ObservedAge> readCheckedSamples(const AgeRequest& request, const FitOptions& options)
{
    return checkedSamples(
        request, options, [&] { return readObservedAges(options.observedFile); });
}

std::vector<ObservedAge> parseCheckedSamples(
    std::istream& text, const AgeRequest& request, const FitOptions& options)
{
    return checkedSamples(
        request, options, [&] { return parseObservedAges(text, options.observedFile); });
}

ObservedFit::ObservedFit(
    const AgeRequest& request, const FitOptions& options, std::vector<ObservedAge> samples)
    : m_request(request)
    , m_options(options)
    , m_samples(std::move(samples))
    , m_kinds(kindsOf(m_samples, request, options))
    , m_predictor(m_kinds)
{
    for (const auto& sample : m_samples) {
        m_modelElevationsM.push_back(sample.elevationM.value_or(0) - options.meanElevationM);
    }
}

std::vector<double> ObservedFit::predictedAges(const double rateMmYr) const
{
    if (m_request.model == Model::periodic) {
        return periodicPredictedAges(rateMmYr);
    }
    erosion::RunParameters parameters = m_request.transient;
    parameters.setErosionRate(rateMmYr);
    const auto path = transientCoolingPath(parameters, m_request.transient.historyTime);
    std::vector<double> ages;
    for (const auto& age : m_predictor.predict(path.path)) {
        ages.push_back(age.ageMa);
    }
    return ages;
}

std::vector<double> ObservedFit::periodicPredictedAges(const double rateMmYr) const
{
    periodic::PeriodicParameters parameters = m_request.periodic;
    parameters.erosionRate = rateMmYr;
    const auto model = fittedSteadyState(parameters);
    // Ridge (x = 0) to valley (x = lambda / 2): the surface falls monotonically.
    std::vector<double> xs;
    std::vector<double> elevations;
    for (const auto& point : periodic::profilePoints(model, parameters)) {
        if (point.xM >= 0 && point.xM <= 0.5 * parameters.wavelength) {
            xs.push_back(point.xM);
            elevations.push_back(point.elevationM);
        }
    }
    const int intervals
        = std::max(1, static_cast<int>(std::ceil(parameters.historyDuration / fitPathStepMyr)));
    return sampleAgesAtPositions(
        halfProfilePositions(xs, elevations, m_modelElevationsM), m_predictor, [&](double x) {
            return periodicCoolingPath(model, x, parameters.historyDuration, intervals).path;
        });
}

FitResult ObservedFit::run(const FitProgress& progress) const
{
    const std::vector<double> rates = m_request.sweep
        ? m_request.sweep->rates()
        : std::vector<double> { m_request.model == Model::periodic
                  ? m_request.periodic.erosionRate
                  : m_request.transient.erosionRate };
    FitResult result;
    result.fit = fitRate(
        rates, measured(m_samples), [this](double rate) { return predictedAges(rate); }, progress);
    const auto best = predictedAges(result.fit.bestRate);
    for (std::size_t i = 0; i < m_samples.size(); ++i) {
        result.residuals.push_back(
            { &m_samples[i], m_kinds[i].method, m_kinds[i].kinetics, best[i] });
    }
    return result;
}

void ObservedFit::report(const FitResult& result, std::ostream& err) const
{
    if (!m_options.fitOutput.empty()) {
        writeMisfitFile(m_options.fitOutput, result.fit);
    }
    if (!m_options.residualsOutput.empty()) {
        writeResidualFile(m_options.residualsOutput, result.residuals);
    }
    const auto& fit = result.fit;
    if (fit.rates.size() == 1) {
        err << "chi2 " << formatted("%.2f", fit.chi2Min) << " at "
            << formatted("%.3f", fit.bestRate) << " mm/yr (no sweep), reduced chi2 "
            << (std::isnan(fit.reducedChi2) ? std::string("undefined (one sample)")
                                            : formatted("%.2f", fit.reducedChi2))
            << '\n';
        return;
    }
    err << fitSummary(fit) << '\n';
    if (const auto warnings = fitWarnings(fit); !warnings.empty()) {
        err << warnings << '\n';
    }
}

} // namespace ages
