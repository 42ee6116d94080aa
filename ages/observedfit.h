#pragma once
// The fit of a cooling_ages run to measured ages: read and check the samples before any work,
// predict every sample at every rate of the sweep (in parallel), find the best rate and its range,
// for all samples and for each system's alone, and write the misfit curve, the residuals and the
// summary.
//
// transient: every sample is compared with the age of the rock exposed at the exposure time (-o);
// surface samples of one site dated with several systems are what this model explains. With
// --mean-elevation a sample h above that surface takes the path of the rock h higher (the same
// path h / u earlier, in the relief at the surface temperature for its height at the end).
// periodic: a sample at field elevation e sits at e - M on the model's surface (M the
// --mean-elevation) and takes the age read off the predicted age-elevation relationship of the
// ridge-to-valley half-profile there.
//
// The model of a rate (the transient path, the periodic steady state) may come from the caller,
// which then builds it once for both the table of ages and the fit.

#include "agekind.h"
#include "agerequest.h"
#include "fitoptions.h"
#include "fittables.h"
#include "fittedbase.h"
#include "lengthmisfit.h"
#include "observedages.h"
#include "ratefit.h"
#include "samplepath.h"
#include "runparameters.h"
#include "samplepredictor.h"
#include "steadystate.h"
#include "thermochron/age.h"
#include "thermochron/system.h"

#include <istream>
#include <ostream>
#include <functional>
#include <limits>
#include <vector>
#include <optional>
#include "textformat.h"

namespace ages {

// The rate that fits one system's samples alone.
struct SystemFit {
    thermochron::System system = thermochron::System::AHe;
    RateFit fit;
};

// A file of a run: its path and the writer of its whole text.
struct FitFile {
    std::string path;
    std::function<void(std::ostream&)> write;
};

// With --fit-base: the base's part of the fit over the grid of rates x bases (rategrid.h).
struct BaseFit {
    std::vector<double> bases; // the grid's bases, increasing
    std::vector<double> chi2; // the misfit map, chi2[j * rates + i]: rate i at base j
    RateFit base; // the base's profile over the rates; bestRate is the best base
    RateFit rateAtBestBase; // the rate's curve at the best grid base alone
};

struct FitResult {
    RateFit fit; // with --fit-base the rate's profile over the bases
    std::vector<SystemFit> systems; // with two or more systems, in their order in the file
    std::vector<Residual> residuals; // at the best rate
    std::vector<LengthComparison> lengths; // the measured lengths at the best rate
    std::optional<BaseFit> base; // with --fit-base
};

// Reads options.observedFile and checks every row (and, for periodic, every elevation against the
// relief) for the request's model. Throws InputError naming the file, the line and the problem.
// notes, if given, receives the reader's notes (the columns it ignores). No samples without
// --observed.
std::vector<ObservedAge> readCheckedSamples(const AgeRequest& request, const FitOptions& options,
    std::vector<std::string>* notes = nullptr);

// Reads options.lengthsFile (in the plain form with options.lengthsSample); nothing without
// --lengths. Throws InputError naming the file, the line and the problem.
std::vector<SampleLengths> readCheckedLengths(
    const FitOptions& options, std::vector<std::string>* notes = nullptr);
// The same from the text of such a file (options.lengthsFile only labels the messages).
std::vector<SampleLengths> parseCheckedLengths(
    std::istream& text, const FitOptions& options, std::vector<std::string>* notes = nullptr);

// The same from the text of such a file (options.observedFile only labels the messages): samples
// that come from elsewhere than a file, such as a table in Python.
std::vector<ObservedAge> parseCheckedSamples(std::istream& text, const AgeRequest& request,
    const FitOptions& options, std::vector<std::string>* notes = nullptr);

class ObservedFit {
public:
    // Length distributions, one per sample of lengths (nothing where a path erases every track).
    using LengthPredictions = std::vector<std::optional<thermochron::TrackLengths>>;

    // The samples as readCheckedSamples gives them. A measured age older than the model's path
    // is left out of chi2 (and named in a warning) unless options.keepUnreset: the path cannot
    // reset it, and a prediction along it is only a lower bound. lengths: the measured track
    // lengths, each sample's joined with its AFT age (joinLengths), the others fitted on their
    // lengths alone. Throws InputError when a sample's own grain is unusable, when a periodic
    // model cannot place a sample of lengths (no age of it with an elevation), or when nothing is
    // left to fit (every age older than the path, and no lengths). request and options must
    // outlive the fit. readerNotes: the readers' notes on the files, reported with the fit's own.
    ObservedFit(const AgeRequest& request, const FitOptions& options,
        std::vector<ObservedAge> samples, std::vector<std::string> readerNotes = {},
        std::vector<SampleLengths> lengths = {});

    // The predicted ages of the samples, in their order: along the transient model's path, on the
    // periodic model's profile, or with the model built for one erosion rate. Safe to call from
    // many threads at once. Preconditions: the model's parameters at that rate are usable.
    // In transient, parameters are the path's (rate and base), from which the paths of samples
    // placed above the mean surface are made.
    std::vector<thermochron::Age> transientPredictions(
        const SamplePath& path, const erosion::RunParameters& parameters) const;
    std::vector<thermochron::Age> periodicPredictions(const periodic::PeriodicSteadyState& model,
        const periodic::PeriodicParameters& parameters) const;
    // base: with --fit-base, the model's -b (periodic) or -B (transient) there; NaN for the
    // request's own.
    std::vector<thermochron::Age> predictions(double rateMmYr, double base = notABase) const;
    // The ages alone (Ma).
    std::vector<double> predictedAges(double rateMmYr, double base = notABase) const;
    // The length distributions of the samples of lengths at one rate.
    LengthPredictions lengthsAt(double rateMmYr, double base = notABase) const;
    // groupMisfits at one rate, its model built once for the ages and the lengths.
    std::vector<double> misfitsAt(double rateMmYr, double base = notABase) const;

    // The predicted length distributions of the samples of lengths, in their order, along the
    // same paths (nothing for a path that leaves no track).
    LengthPredictions transientLengths(
        const SamplePath& path, const erosion::RunParameters& parameters) const;
    LengthPredictions periodicLengths(const periodic::PeriodicSteadyState& model,
        const periodic::PeriodicParameters& parameters) const;

    // The misfit of every group of samples the fit reports for one set of predictions: all
    // samples first, then each system's (with two or more systems), as groupCount() counts them;
    // then the lengths' own -2 ln L, which the first group and AFT's include. Without lengths the
    // misfits are the groups' chi2 and the last is 0.
    std::vector<double> groupMisfits(const std::vector<thermochron::Age>& predicted,
        const LengthPredictions& lengths = {}) const;
    std::size_t groupCount() const { return 1 + m_systems.size(); }

    // groupMisfits of the predictions along the transient path or on the periodic profile.
    std::vector<double> transientMisfits(
        const SamplePath& path, const erosion::RunParameters& parameters) const;
    std::vector<double> periodicMisfits(const periodic::PeriodicSteadyState& model,
        const periodic::PeriodicParameters& parameters) const;

    // The fit from the misfits (groupMisfits) of every rate, and the residuals and lengths at the
    // best rate, where the model is built once more. With --fit-base the misfits are those of
    // every rate at every base, misfits[j * rates + i] for the rate i at bases()[j], and every
    // group's rate is profiled over the base. A curve that holds lengths is reported
    // relative to their -2 ln L at its lowest rate of the sweep, so that its minimum is the ages'
    // chi2 there and the range is read by the same level rule.
    FitResult fitMisfits(
        const std::vector<double>& rates, const std::vector<std::vector<double>>& misfits) const;

    // Every rate of the request (the sweep, or the model's one rate) on all cores, then
    // fitMisfits: the fit on its own, without a table.
    FitResult run(const FitProgress& progress = {}) const;

    // The --fit-output and --residuals files of the result, to be written together with the
    // run's other files (the result must outlive them).
    std::vector<FitFile> files(const FitResult& result) const;

    // The notes on the samples (the readers' notes),
    // the summary on err ("best rate: ..."; with one rate "chi2 ... at ..."), the "assumed:" line
    // (the model's fixed values, the kinetics, the grain defaults), a line per system,
    // the warnings (predictions that are minimum ages; a range at an end of the sweep; several
    // minima).
    void report(const FitResult& result, std::ostream& err) const;

    // The warnings of the report as values, in the order it prints them: ages whose sigma
    // exceeds them, ages older than the path (left out of chi2), predictions that are not reset,
    // and the fit's own (a range at an end of the sweep, several minima).
    std::vector<textformat::Warning> warnings(const FitResult& result) const;

    // The rates of the request: the sweep, or the model's one rate.
    std::vector<double> rates() const;
    // With --fit-base the bases of the grid (rateFitBaseCount from MIN to MAX); empty without.
    std::vector<double> bases() const;

    static constexpr double notABase = std::numeric_limits<double>::quiet_NaN();
    // With --fit-base, the steps at each rate towards the least chi2 over the base, each one
    // model run per rate (rategrid.h, nextOther): the parabola through the lowest misfit and its
    // neighbours, or a halving of the bracket where it misses, reaches a valley's floor in about
    // this many.
    static constexpr int baseRefinements = 4;

    const std::vector<ObservedAge>& samples() const { return m_samples; }
    const std::vector<JoinedLengths>& lengths() const { return m_lengths; }

private:
    // along(path) on the transient model's path at the rate, or on(model, parameters) on the
    // periodic steady state built for it.
    template <class Along, class On>
    auto atRate(double rateMmYr, double base, const Along& along, const On& on) const;
    // The readers' notes.
    std::vector<std::string> sampleNotes() const;
    // The warnings known before the fit: sigma above the age, ages older than the path.
    std::vector<textformat::Warning> sampleWarnings() const;
    double pathMyr() const;
    // transient: the samples' heights above --mean-elevation; InputError for samples that carry
    // elevations without it.
    void placeTransientSamples();
    // What the answer rests on besides the ages: the model's fixed values, the kinetics, the
    // grain values taken from the options.
    std::string assumedLine() const;
    // With --fit-base: the base's column, unit and bounds.
    FittedBaseWords baseWords() const;
    std::optional<textformat::Warning> resetWarning(const std::vector<Residual>& residuals) const;
    // A line per set of lengths at the best rate; the warnings on them as values.
    void reportLengths(const FitResult& result, std::ostream& err) const;
    std::vector<textformat::Warning> lengthWarnings(const FitResult& result) const;

    const AgeRequest& m_request;
    const FitOptions& m_options;
    std::vector<ObservedAge> m_samples;
    std::vector<std::string> m_readerNotes;
    std::vector<JoinedLengths> m_lengths; // before m_kinds: the lengths may give a sample's Dpar
    std::vector<AgeKind> m_kinds;
    SamplePredictor m_predictor;
    std::vector<double> m_modelElevationsM; // periodic: e - M per sample
    std::vector<double> m_lengthElevationsM; // periodic: e - M per sample of lengths
    // transient with --mean-elevation: each sample's height above the mean surface (0 without
    // elevation_m), and each sample of lengths'; empty when no sample is placed.
    std::vector<double> m_heightsM;
    std::vector<double> m_lengthHeightsM;
    std::optional<std::size_t> m_aftGroup; // the group of AFT among m_systems, with lengths
    std::vector<thermochron::System> m_systems; // each system once, when there are two or more
    std::vector<std::size_t> m_groupOfSample; // index into m_systems per sample
    std::vector<bool> m_inChi2; // per sample: false for an age older than the path, left out
};

} // namespace ages
