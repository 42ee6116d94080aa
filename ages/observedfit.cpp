#include "observedfit.h"

#include "agesbeyondpath.h"
#include "assumptions.h"

#include "textformat.h"

#include "ageprediction.h"
#include "inputerror.h"
#include "periodicpaths.h"
#include "profile.h"
#include "profileinterpolation.h"
#include "ratefitbase.h"
#include "rategrid.h"
#include "steadystatefit.h"
#include "transientpath.h"

#include "parallelfor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace ages {

namespace {

std::vector<AgeKind> kindsOf(
    const std::vector<ObservedAge>& samples, const AgeRequest& request, const FitOptions& options)
{
    try {
        return sampleAgeKinds(samples, request.settings, options.observedFile);
    } catch (const ObservedAgesError& error) {
        throw InputError(error.what());
    }
}

// chi2 of the samples in chi2 whose group is group (all of them for the group npos).
double groupChiSquare(const std::vector<ObservedAge>& samples,
    const std::vector<thermochron::Age>& predicted, const std::vector<std::size_t>& groupOfSample,
    const std::vector<bool>& inChi2, std::size_t group)
{
    double sum = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (inChi2[i] && (group == std::string::npos || groupOfSample[i] == group)) {
            const double residual = (samples[i].ageMa - predicted[i].ageMa) / samples[i].sigmaMa;
            sum += residual * residual;
        }
    }
    return sum;
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

std::vector<ObservedAge> readCheckedSamples(
    const AgeRequest& request, const FitOptions& options, std::vector<std::string>* notes)
{
    if (options.observedFile.empty())
        return {};
    return checkedSamples(
        request, options, [&] { return readObservedAges(options.observedFile, notes); });
}

std::vector<SampleLengths> readCheckedLengths(
    const FitOptions& options, std::vector<std::string>* notes)
{
    if (options.lengthsFile.empty())
        return {};
    try {
        return readTrackLengths(options.lengthsFile, options.lengthsSample, notes);
    } catch (const TrackLengthsError& error) {
        throw InputError(error.what());
    }
}

std::vector<SampleLengths> parseCheckedLengths(
    std::istream& text, const FitOptions& options, std::vector<std::string>* notes)
{
    try {
        return parseTrackLengths(text, options.lengthsFile, options.lengthsSample, notes);
    } catch (const TrackLengthsError& error) {
        throw InputError(error.what());
    }
}

std::vector<ObservedAge> parseCheckedSamples(std::istream& text, const AgeRequest& request,
    const FitOptions& options, std::vector<std::string>* notes)
{
    return checkedSamples(
        request, options, [&] { return parseObservedAges(text, options.observedFile, notes); });
}

namespace {

std::vector<JoinedLengths> joinedLengths(std::vector<ObservedAge>& samples,
    std::vector<SampleLengths> lengths, const AgeRequest& request, const FitOptions& options)
{
    try {
        return joinLengths(samples, std::move(lengths), request.settings, options.lengthsFile);
    } catch (const TrackLengthsError& error) {
        throw InputError(error.what());
    }
}

} // namespace

ObservedFit::ObservedFit(const AgeRequest& request, const FitOptions& options,
    std::vector<ObservedAge> samples, std::vector<std::string> readerNotes,
    std::vector<SampleLengths> lengths)
    : m_request(request)
    , m_options(options)
    , m_samples(std::move(samples))
    , m_readerNotes(std::move(readerNotes))
    , m_lengths(joinedLengths(m_samples, std::move(lengths), request, options))
    , m_kinds(kindsOf(m_samples, request, options))
    , m_predictor(m_kinds)
{
    std::vector<thermochron::System> systems;
    for (const auto& sample : m_samples) {
        m_modelElevationsM.push_back(sample.elevationM.value_or(0) - options.meanElevationM);
        const auto found = std::find(systems.begin(), systems.end(), sample.system);
        m_groupOfSample.push_back(static_cast<std::size_t>(found - systems.begin()));
        if (found == systems.end()) {
            systems.push_back(sample.system);
        }
    }
    // Lengths are AFT data: with them, AFT is a group of its own even without an AFT age.
    if (!m_lengths.empty()) {
        const auto found = std::find(systems.begin(), systems.end(), thermochron::System::AFT);
        m_aftGroup = static_cast<std::size_t>(found - systems.begin());
        if (found == systems.end())
            systems.push_back(thermochron::System::AFT);
    }
    if (systems.size() > 1) {
        m_systems = std::move(systems);
    }
    for (const JoinedLengths& joined : m_lengths) {
        if (m_request.model == Model::periodic && !joined.elevationM) {
            throw InputError(options.lengthsFile + " line "
                + std::to_string(joined.lengths.measured.firstLine) + ": sample "
                + textformat::printable(joined.lengths.measured.sample)
                + " has lengths but no measured age with an elevation_m, which a periodic model "
                  "needs to place it");
        }
        m_lengthElevationsM.push_back(joined.elevationM.value_or(0) - options.meanElevationM);
    }
    if (m_request.model == Model::periodic) {
        for (const double elevation : m_lengthElevationsM) {
            if (std::abs(elevation) > m_request.periodic.reliefAmplitude) {
                throw InputError(options.lengthsFile + ": a sample of lengths lies at "
                    + textformat::number(elevation + options.meanElevationM)
                    + " m, outside the model's relief");
            }
        }
    }
    if (m_request.model == Model::transient)
        placeTransientSamples();
    m_inChi2 = agesWithinPath(m_samples, pathMyr(), options.keepUnreset);
    if (m_lengths.empty()
        && std::none_of(m_inChi2.begin(), m_inChi2.end(), [](bool in) { return in; })) {
        throw InputError(options.observedFile + ": every measured age is older than the paths (-o "
            + textformat::number(pathMyr())
            + " Myr), which can only give lower bounds of them: raise -o, or give --keep-unreset "
              "to fit them all the same");
    }
}

void ObservedFit::placeTransientSamples()
{
    const auto placed = std::find_if(m_samples.begin(), m_samples.end(),
        [](const ObservedAge& sample) { return sample.elevationM.has_value(); });
    if (placed == m_samples.end())
        return;
    if (!m_options.meanElevationGiven)
        throw InputError("the samples carry elevations (elevation_m, line "
            + std::to_string(placed->line)
            + "): give --mean-elevation M, the field elevation of the column's surface, to place "
              "each sample at its height above it");
    // h = e - M above the mean surface; a sample without an elevation lies on it.
    const double mean = m_options.meanElevationM;
    for (const ObservedAge& sample : m_samples)
        m_heightsM.push_back(sample.elevationM ? *sample.elevationM - mean : 0.0);
    for (const JoinedLengths& joined : m_lengths)
        m_lengthHeightsM.push_back(joined.elevationM ? *joined.elevationM - mean : 0.0);
}

double ObservedFit::pathMyr() const
{
    return m_request.model == Model::periodic ? m_request.periodic.historyDuration
                                              : m_request.transient.historyTime;
}

namespace {

// The half-profile from ridge (x = 0) to valley (x = lambda / 2), on which the surface falls
// monotonically: its points' x and heights.
std::pair<std::vector<double>, std::vector<double>> halfProfile(
    const periodic::PeriodicSteadyState& model, const periodic::PeriodicParameters& parameters)
{
    std::vector<double> xs;
    std::vector<double> elevations;
    for (const auto& point : periodic::profilePoints(model, parameters)) {
        if (point.xM >= 0 && point.xM <= 0.5 * parameters.wavelength) {
            xs.push_back(point.xM);
            elevations.push_back(point.elevationM);
        }
    }
    return { std::move(xs), std::move(elevations) };
}

} // namespace

namespace {

// The path of a rock h above the transient model's surface: the surface rock's own at h = 0.
PositionPathSource placedTransientPaths(const SamplePath& surface,
    const erosion::RunParameters& parameters, const double lapseRateCkm)
{
    return [&surface, &parameters, lapseRateCkm](double heightM) {
        if (heightM == 0)
            return surface.path;
        return transientCoolingPath(parameters, parameters.historyTime, heightM, lapseRateCkm)
            .path;
    };
}

} // namespace

std::vector<thermochron::Age> ObservedFit::transientPredictions(
    const SamplePath& path, const erosion::RunParameters& parameters) const
{
    if (m_heightsM.empty())
        return m_predictor.predict(path.path);
    // One path per distinct height, shared by the samples there.
    return sampleAgesAtPositions(m_heightsM, m_predictor,
        placedTransientPaths(path, parameters, m_options.lapseRateCkm));
}

std::vector<thermochron::Age> ObservedFit::periodicPredictions(
    const periodic::PeriodicSteadyState& model,
    const periodic::PeriodicParameters& parameters) const
{
    const auto [xs, elevations] = halfProfile(model, parameters);
    // The path of the age table itself, at its resolution: a sample's prediction is the table's
    // age for the same rock, not an approximation of it.
    return sampleAgesAtPositions(halfProfilePositions(xs, elevations, m_modelElevationsM),
        m_predictor,
        [&](double x) { return periodicCoolingPath(model, x, parameters.historyDuration).path; });
}

ObservedFit::LengthPredictions ObservedFit::transientLengths(
    const SamplePath& path, const erosion::RunParameters& parameters) const
{
    LengthPredictions lengths;
    const PositionPathSource pathAt
        = placedTransientPaths(path, parameters, m_options.lapseRateCkm);
    for (std::size_t k = 0; k < m_lengths.size(); ++k)
        lengths.push_back(predictedSampleLengths(
            m_lengthHeightsM.empty() ? path.path : pathAt(m_lengthHeightsM[k]),
            m_lengths[k].lengths, m_request.settings));
    return lengths;
}

ObservedFit::LengthPredictions ObservedFit::periodicLengths(
    const periodic::PeriodicSteadyState& model,
    const periodic::PeriodicParameters& parameters) const
{
    LengthPredictions lengths;
    if (m_lengths.empty())
        return lengths;
    const auto [xs, elevations] = halfProfile(model, parameters);
    const std::vector<double> positions = halfProfilePositions(xs, elevations, m_lengthElevationsM);
    for (std::size_t k = 0; k < m_lengths.size(); ++k)
        lengths.push_back(predictedSampleLengths(
            periodicCoolingPath(model, positions[k], parameters.historyDuration).path,
            m_lengths[k].lengths, m_request.settings));
    return lengths;
}

std::vector<double> ObservedFit::transientMisfits(
    const SamplePath& path, const erosion::RunParameters& parameters) const
{
    return groupMisfits(
        transientPredictions(path, parameters), transientLengths(path, parameters));
}

std::vector<double> ObservedFit::periodicMisfits(const periodic::PeriodicSteadyState& model,
    const periodic::PeriodicParameters& parameters) const
{
    return groupMisfits(periodicPredictions(model, parameters), periodicLengths(model, parameters));
}

template <class Along, class On>
auto ObservedFit::atRate(
    const double rateMmYr, const double base, const Along& along, const On& on) const
{
    const AgeRequest at = withRateFitBase(m_request, base);
    if (m_request.model == Model::periodic) {
        periodic::PeriodicParameters parameters = at.periodic;
        parameters.erosionRate = rateMmYr;
        return on(fittedSteadyState(parameters), parameters);
    }
    erosion::RunParameters parameters = at.transient;
    parameters.setErosionRate(rateMmYr);
    return along(transientCoolingPath(parameters, m_request.transient.historyTime), parameters);
}

std::vector<thermochron::Age> ObservedFit::predictions(
    const double rateMmYr, const double base) const
{
    return atRate(
        rateMmYr, base, [&](const SamplePath& path, const erosion::RunParameters& parameters) {
            return transientPredictions(path, parameters);
        },
        [&](const periodic::PeriodicSteadyState& model,
            const periodic::PeriodicParameters& parameters) {
            return periodicPredictions(model, parameters);
        });
}

ObservedFit::LengthPredictions ObservedFit::lengthsAt(
    const double rateMmYr, const double base) const
{
    return atRate(
        rateMmYr, base, [&](const SamplePath& path, const erosion::RunParameters& parameters) {
            return transientLengths(path, parameters);
        },
        [&](const periodic::PeriodicSteadyState& model,
            const periodic::PeriodicParameters& parameters) {
            return periodicLengths(model, parameters);
        });
}

std::vector<double> ObservedFit::misfitsAt(const double rateMmYr, const double base) const
{
    return atRate(
        rateMmYr, base, [&](const SamplePath& path, const erosion::RunParameters& parameters) {
            return transientMisfits(path, parameters);
        },
        [&](const periodic::PeriodicSteadyState& model,
            const periodic::PeriodicParameters& parameters) {
            return periodicMisfits(model, parameters);
        });
}

std::vector<double> ObservedFit::predictedAges(const double rateMmYr, const double base) const
{
    std::vector<double> ages;
    for (const auto& age : predictions(rateMmYr, base)) {
        ages.push_back(age.ageMa);
    }
    return ages;
}

std::vector<double> ObservedFit::groupMisfits(
    const std::vector<thermochron::Age>& predicted, const LengthPredictions& lengths) const
{
    double lengthTerm = 0;
    for (std::size_t k = 0; k < lengths.size(); ++k)
        lengthTerm += lengthMisfit(lengths[k], m_lengths[k].lengths.measured);
    std::vector<double> misfits { lengthTerm
        + groupChiSquare(m_samples, predicted, m_groupOfSample, m_inChi2, std::string::npos) };
    for (std::size_t group = 0; group < m_systems.size(); ++group) {
        misfits.push_back(groupChiSquare(m_samples, predicted, m_groupOfSample, m_inChi2, group)
            + (group == m_aftGroup ? lengthTerm : 0));
    }
    misfits.push_back(lengthTerm);
    return misfits;
}

std::vector<double> ObservedFit::rates() const
{
    if (m_request.sweep) {
        return m_request.sweep->rates();
    }
    return { m_request.model == Model::periodic ? m_request.periodic.erosionRate
                                                : m_request.transient.erosionRate };
}

std::vector<double> ObservedFit::bases() const
{
    if (!m_options.fitBase)
        return {};
    return evenlySpacedValues(*m_options.fitBase, rateFitBaseCount);
}

FittedBaseWords ObservedFit::baseWords() const
{
    return rateFitBaseWords(m_request, m_options.fitBase.value_or(ValueBounds {}));
}

FitResult ObservedFit::fitMisfits(
    const std::vector<double>& rates, const std::vector<std::vector<double>>& misfits) const
{
    const std::size_t lengthColumn = groupCount();
    // A curve with lengths is reported less their -2 ln L at its lowest point: the ages' chi2
    // there.
    const auto baselineOf = [&](std::size_t group, bool withLengths) {
        if (!withLengths || misfits.empty())
            return 0.0;
        const auto lowest = std::min_element(misfits.begin(), misfits.end(),
            [&](const std::vector<double>& a, const std::vector<double>& b) {
                return a.at(group) < b.at(group) || (std::isnan(b.at(group)) && !std::isnan(a.at(group)));
            });
        return lowest->at(lengthColumn);
    };
    const auto curve = [&](std::size_t group, bool withLengths) {
        const double baseline = baselineOf(group, withLengths);
        std::vector<double> chi2;
        chi2.reserve(misfits.size());
        for (const auto& rateMisfits : misfits) {
            chi2.push_back(rateMisfits.at(group) - baseline);
        }
        return chi2;
    };
    FitResult result;
    const auto counted = [&](std::size_t group) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < m_samples.size(); ++i) {
            count += m_inChi2[i] && (group == std::string::npos || m_groupOfSample[i] == group);
        }
        return count;
    };
    const bool lengths = !m_lengths.empty();
    const std::vector<double> grid = bases();
    if (misfits.size() != rates.size() * std::max<std::size_t>(1, grid.size()))
        throw std::logic_error("a fit needs the misfits of every rate (and base)");

    // With --fit-base, the models run off the grid: at each rate towards the least chi2 over the
    // base (a valley narrower than the grid's spacing), and along the rates at the best base.
    std::vector<std::pair<std::size_t, double>> offGrid; // (rate index, base)
    std::vector<std::vector<double>> offGridMisfits; // groupMisfits of each
    const auto runOffGrid = [&](const std::vector<std::pair<std::size_t, double>>& wanted) {
        std::vector<std::vector<double>> found(wanted.size());
        parallelFor(wanted.size(), defaultThreadCount(), [&](std::size_t k) {
            found[k] = misfitsAt(rates[wanted[k].first], wanted[k].second);
        });
        offGrid.insert(offGrid.end(), wanted.begin(), wanted.end());
        offGridMisfits.insert(offGridMisfits.end(), found.begin(), found.end());
    };
    const auto refinedOf = [&](std::size_t group, bool withLengths) {
        const double baseline = baselineOf(group, withLengths);
        std::vector<RefinedPoint> points;
        for (std::size_t k = 0; k < offGrid.size(); ++k)
            points.push_back(
                { offGrid[k].first, offGrid[k].second, offGridMisfits[k].at(group) - baseline });
        return points;
    };
    const long freedom = static_cast<long>(counted(std::string::npos)) - 2;
    if (!grid.empty()) {
        const std::vector<double> map = curve(0, lengths);
        for (int step = 0; step < baseRefinements; ++step) {
            const std::vector<RefinedPoint> found = refinedOf(0, lengths);
            std::vector<std::pair<std::size_t, double>> wanted;
            for (std::size_t i = 0; i < rates.size(); ++i)
                if (const double next = nextOther(grid, map, i, rates.size(), found);
                    !std::isnan(next))
                    wanted.emplace_back(i, next);
            runOffGrid(wanted);
        }
        const double bestBase = fitRateGrid(rates, grid, map, freedom, refinedOf(0, lengths)).bestOther;
        const std::size_t rowStart = offGrid.size();
        std::vector<std::pair<std::size_t, double>> row;
        for (std::size_t i = 0; i < rates.size(); ++i)
            row.emplace_back(i, bestBase);
        runOffGrid(row);
        const RateGridFit both = fitRateGrid(rates, grid, map, freedom, refinedOf(0, lengths));
        std::vector<double> atBest;
        for (std::size_t k = rowStart; k < offGridMisfits.size(); ++k)
            atBest.push_back(offGridMisfits[k].at(0) - baselineOf(0, lengths));
        RateFit alone = fitMisfitCurveAtLevel(rates, std::move(atBest), both.level.level);
        alone.chi2Min = both.level.chi2Min;
        alone.reducedChi2 = both.level.reducedChi2;
        alone.rangeScaled = both.level.scaled;
        result.fit = both.rateFit;
        result.base = BaseFit { grid, map, both.otherFit, std::move(alone) };
    } else {
        result.fit = fitMisfitCurve(rates, curve(0, lengths), counted(std::string::npos));
    }
    const double bestBase = result.base ? result.base->base.bestRate : notABase;
    for (std::size_t group = 0; group < m_systems.size(); ++group) {
        const bool groupLengths = lengths && group == m_aftGroup;
        const std::size_t count = counted(group);
        if (count == 0 && !groupLengths) {
            continue; // every age of the system is older than the path
        }
        // A system alone, its rate profiled over the base where the fit has run the model.
        result.systems.push_back({ m_systems[group],
            grid.empty()
                ? fitMisfitCurve(rates, curve(group + 1, groupLengths), count)
                : fitRateGrid(rates, grid, curve(group + 1, groupLengths),
                    static_cast<long>(count) - 2, refinedOf(group + 1, groupLengths))
                      .rateFit });
    }
    const auto best = predictions(result.fit.bestRate, bestBase);
    for (std::size_t i = 0; i < m_samples.size(); ++i) {
        result.residuals.push_back({ &m_samples[i], m_kinds[i].method, m_kinds[i].kinetics,
            best[i].ageMa, best[i].reset, m_inChi2[i],
            m_kinds[i].grain });
    }
    if (lengths) {
        const LengthPredictions predicted = lengthsAt(result.fit.bestRate, bestBase);
        for (std::size_t k = 0; k < m_lengths.size(); ++k)
            for (LengthComparison& comparison :
                compareLengths(predicted[k], m_lengths[k].lengths.measured))
                result.lengths.push_back(std::move(comparison));
    }
    return result;
}

FitResult ObservedFit::run(const FitProgress& progress) const
{
    const std::vector<double> sweep = rates();
    const std::vector<double> grid = bases();
    // Every rate at every base of the grid (k = j * rates + i), or at the request's one base.
    const std::size_t cells = sweep.size() * std::max<std::size_t>(1, grid.size());
    std::vector<std::vector<double>> misfits(cells);
    std::mutex progressLock;
    std::size_t done = 0; // guarded by progressLock
    parallelFor(cells, defaultThreadCount(), [&](std::size_t k) {
        misfits[k] = misfitsAt(
            sweep[k % sweep.size()], grid.empty() ? notABase : grid[k / sweep.size()]);
        if (progress) {
            const std::lock_guard lock(progressLock);
            progress(static_cast<double>(++done) / static_cast<double>(cells));
        }
    });
    return fitMisfits(sweep, misfits);
}

std::vector<textformat::Warning> ObservedFit::sampleWarnings() const
{
    std::vector<textformat::Warning> warnings;
    if (auto text = sigmaAboveAgeWarning(m_samples, m_options.observedFile)) {
        // The reader's line, "warning: " and all.
        constexpr std::string_view mark = "warning: ";
        warnings.push_back({ .kind = "sigma_above_age",
            .text = text->starts_with(mark) ? text->substr(mark.size()) : *text });
    }
    if (auto warning = agesBeyondPathWarning(m_samples, m_inChi2,
            "the paths (-o " + textformat::number(pathMyr()) + " Myr)", "raise -o")) {
        warnings.push_back(std::move(*warning));
    }
    return warnings;
}

std::vector<std::string> ObservedFit::sampleNotes() const
{
    std::vector<std::string> notes = m_readerNotes;
    return notes;
}

std::string ObservedFit::assumedLine() const
{
    std::string model;
    if (m_request.model == Model::periodic) {
        const auto& p = m_request.periodic;
        model = "surface " + textformat::number(p.surfaceTemp)
            + " C at the mean surface, lapse rate " + textformat::number(p.lapseRate)
            + " C/km, base "
            + (m_options.fitBase ? "fitted, " + textformat::number(m_options.fitBase->low) + " to "
                        + textformat::number(m_options.fitBase->high) + " C"
                                 : textformat::number(p.basalTemp) + " C")
            + " at " + textformat::number(p.basalDepth) + " m"
            + (m_options.fitBase ? " (--fit-base)" : "") + ", relief "
            + textformat::number(p.reliefAmplitude) + " m of wavelength "
            + textformat::number(p.wavelength) + " m, mean elevation "
            + textformat::number(m_options.meanElevationM) + " m, path start "
            + textformat::number(p.historyDuration) + " Ma (-o)";
    } else {
        const auto& p = m_request.transient;
        model = "surface " + textformat::number(p.surfaceTemp) + " C, initial gradient "
            + (m_options.fitBase ? "fitted, " + textformat::number(m_options.fitBase->low) + " to "
                        + textformat::number(m_options.fitBase->high) + " C/m (--fit-base)"
                                 : textformat::number(p.basalGradient) + " C/m")
            + ", diffusivity "
            + textformat::number(p.diffusivity) + " m2/s, path start "
            + textformat::number(p.historyTime) + " Ma (-o), "
            + (m_heightsM.empty()
                    ? std::string("every sample at the surface")
                    : "samples placed below a mean surface at "
                        + textformat::number(m_options.meanElevationM) + " m, lapse rate "
                        + textformat::number(m_options.lapseRateCkm) + " C/km, flat isotherms");
    }
    std::string line = "assumed: " + model;
    if (!m_kinds.empty()) // no ages: a fit of lengths alone
        line += "; " + kineticsAssumed(m_kinds);
    if (!m_lengths.empty())
        line += "; lengths " + lengthsAssumed(m_lengths, m_request.settings);
    if (const std::string grains = grainDefaultsAssumed(m_samples, m_kinds, m_request.settings);
        !grains.empty()) {
        line += "; " + grains;
    }
    return line;
}

void ObservedFit::reportLengths(const FitResult& result, std::ostream& err) const
{
    for (const LengthComparison& comparison : result.lengths)
        err << lengthReportLine(comparison) << '\n';
}

std::vector<textformat::Warning> ObservedFit::lengthWarnings(const FitResult& result) const
{
    std::vector<textformat::Warning> warnings;
    for (const JoinedLengths& joined : m_lengths)
        if (std::none_of(
                result.lengths.begin(), result.lengths.end(), [&](const LengthComparison& c) {
                    return c.sample == joined.lengths.measured.sample;
                }))
            warnings.push_back({ .kind = "no_tracks",
                .samples = { joined.lengths.measured.sample },
                .text = "the best rate leaves no track to be measured in "
                    + textformat::printable(joined.lengths.measured.sample)
                    + ", whose lengths were measured" });
    constexpr std::string_view mark = "warning: ";
    if (const std::string warning = lengthWarning(result.lengths); !warning.empty())
        warnings.push_back({ .kind = "lengths_misfit",
            .text = warning.starts_with(mark) ? warning.substr(mark.size()) : warning });
    return warnings;
}

std::optional<textformat::Warning> ObservedFit::resetWarning(
    const std::vector<Residual>& residuals) const
{
    // Ages older than the path are left out and named already.
    const auto notReset = std::count_if(
        residuals.begin(), residuals.end(), [](const Residual& r) { return !r.reset && r.inChi2; });
    const auto counted = std::count_if(
        residuals.begin(), residuals.end(), [](const Residual& r) { return r.inChi2; });
    if (notReset == 0) {
        return std::nullopt;
    }
    double oldestMa = 0;
    for (std::size_t i = 0; i < m_samples.size(); ++i) {
        if (m_inChi2[i]) {
            oldestMa = std::max(oldestMa, m_samples[i].ageMa);
        }
    }
    const std::string paths = "the paths (-o " + textformat::number(pathMyr()) + " Myr)";
    const std::string oldest = "the oldest measured age (" + textformat::number(oldestMa) + " Ma)";
    const std::string cause = pathMyr() < oldestMa
        ? paths + " are shorter than " + oldest
        : paths + " start too cold to erase what the grains held before, and their ages are "
            + "minimum ages (" + oldest + ")";
    textformat::Warning warning { .kind = "not_reset" };
    for (const Residual& residual : residuals)
        if (!residual.reset && residual.inChi2)
            warning.samples.push_back(residual.sample->sample);
    warning.text = std::to_string(notReset) + " of " + std::to_string(counted)
        + " predictions at the best rate do not reset the grain: " + cause + "; raise -o";
    return warning;
}

std::vector<FitFile> ObservedFit::files(const FitResult& result) const
{
    std::vector<FitFile> files;
    if (!m_options.fitOutput.empty()) {
        if (result.base)
            files.push_back({ m_options.fitOutput, [this, &result](std::ostream& out) {
                                 writeMisfitMap(out, result.fit.rates, baseWords().column,
                                     result.base->bases, result.base->chi2,
                                     result.fit.rangeLevel);
                             } });
        else
            files.push_back({ m_options.fitOutput,
                [&result](std::ostream& out) { writeMisfitTable(out, result.fit); } });
    }
    if (!m_options.residualsOutput.empty()) {
        files.push_back({ m_options.residualsOutput,
            [&result](std::ostream& out) { writeResidualTable(out, result.residuals); } });
    }
    return files;
}

std::vector<textformat::Warning> ObservedFit::warnings(const FitResult& result) const
{
    std::vector<textformat::Warning> warnings = sampleWarnings();
    const std::optional<textformat::Warning> notReset = resetWarning(result.residuals);
    if (notReset) {
        warnings.push_back(*notReset);
    }
    for (textformat::Warning& warning : lengthWarnings(result)) {
        warnings.push_back(std::move(warning));
    }
    // Paths that do not reset the grains make the answer an artefact of -o: widening the sweep
    // would only move it.
    constexpr std::string_view mark = "warning: ";
    if (result.fit.rates.size() > 1) {
        if (const std::string line = fitWarnings(result.fit, !notReset); !line.empty()) {
            warnings.push_back({ .kind = "fit_range", .text = line.substr(mark.size()) });
        }
    }
    if (result.base)
        for (textformat::Warning& warning : fittedBaseWarnings(
                 result.base->base, baseWords(), &result.fit, &result.base->rateAtBestBase))
            warnings.push_back(std::move(warning));
    return warnings;
}

void ObservedFit::report(const FitResult& result, std::ostream& err) const
{
    for (const auto& note : sampleNotes()) {
        err << note << '\n';
    }
    const std::vector<textformat::Warning> warnings = this->warnings(result);
    // Those on the samples before the summary, those on the fit after it.
    const auto late = std::partition_point(warnings.begin(), warnings.end(),
        [](const textformat::Warning& w) {
            return w.kind == "sigma_above_age" || w.kind == "older_than_path";
        });
    for (auto warning = warnings.begin(); warning != late; ++warning) {
        err << warning->line() << '\n';
    }
    const auto& fit = result.fit;
    if (fit.rates.size() == 1) {
        err << "chi2 " << textformat::fixed(fit.chi2Min, 2) << " at "
            << textformat::fixed(fit.bestRate, 3) << " mm/yr (no sweep), reduced chi2 "
            << (std::isnan(fit.reducedChi2) ? std::string("undefined (one sample)")
                                            : textformat::fixed(fit.reducedChi2, 2))
            << '\n';
        err << assumedLine() << '\n';
    } else {
        err << fitSummary(fit) << '\n';
        if (result.base)
            err << fittedBaseLine(result.base->base, baseWords(), fit.rangeScaled) << '\n';
        err << assumedLine() << '\n';
        for (const auto& system : result.systems) {
            err << fitSummary(system.fit, thermochron::systemName(system.system)) << '\n';
        }
    }
    reportLengths(result, err);
    for (auto warning = late; warning != warnings.end(); ++warning) {
        err << warning->line() << '\n';
    }
}

} // namespace ages
