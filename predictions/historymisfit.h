#pragma once
// The misfit of measured ages to an erosion history: the history's thermal model gives the path
// of the rock exposed today, every sample is dated along it with its own grain, and
//
//     chi2 = sum_i ((age_obs_i - age_pred_i) / sigma_i)^2
//
// over the samples, plus -2 ln L of the measured track lengths under the distributions predicted
// along the same path (lengthmisfit.h): the HistoryMisfit the history fits minimise
// (historyfit.h), whose lengths' part (lengthsMisfit) they subtract at the best history. All
// samples share the one path, since they are taken as one rock (one site) dated by several systems
// and grains; samples that need the same computation (system, method and grain) share it
// (samplepredictor.h), so the cost is one thermal run and one age per distinct grain.
//
//     const HistoryAgeMisfit misfit(parameters, samples, kinds, fitResolution);
//     const HistoryFit fit = fitHistory(space, std::cref(misfit), settings);
//
// The model runs on the resolution given: the fits take a coarser one than the table
// (fitResolution), chosen so that the ages it gives stay within 0.1 % of the default's.

#include "agekind.h"
#include "historyparameters.h"
#include "lengthmisfit.h"
#include "observedages.h"
#include "ratefit.h"
#include "samplepath.h"
#include "samplepredictor.h"

#include "historypath.h"
#include "thermalparameters.h"
#include "textformat.h"
#include "thermochron/age.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// The resolution of the fits' thermal runs: nodes 1000 m apart (refined for fast phases as the
// model does: u h / kappa <= 0.02) and the default's steps of 0.2 Myr. The temperatures of a
// column that coarse move by tenths of a degree, which the ages hardly feel, and the run costs a
// quarter of the default's (0.04 against 0.14 ms for 30 Myr). The time step stays: the kinetic
// models end their own steps (0.5 Myr or 2 C for (U-Th)/He) on points of the path, so a path
// with other points moves their steps, and at 0.3 Myr the ages move by 0.15 %. Against the
// table's default resolution the ages of 13 histories of 20 to 100 Myr at 0.05 to 2 mm/yr, one to
// three phases, move by at most 0.07 % (historyages_bench, counter largest_age_change).
inline constexpr thermal::Resolution fitResolution { 1000.0, 0.2 };

class HistoryAgeMisfit {
public:
    // One kind per sample, as sampleAgeKinds gives them; lengths: the measured track lengths of
    // the rock, predicted in the mounts of settings.
    HistoryAgeMisfit(const thermal::ThermalParameters& parameters,
        const std::vector<ObservedAge>& samples, const std::vector<AgeKind>& kinds,
        const thermal::Resolution& resolution = fitResolution,
        std::vector<LengthSample> lengths = {}, const AgeSettings& settings = {});

    // The ages of the samples, in their order, along the path of the rock exposed today under
    // history; nothing when the model cannot run the history (thermal::runError: e.g. a rock that
    // would have started below the base) or its path leaves the temperatures the age models take.
    // Pure: safe from many threads at once.
    std::optional<std::vector<thermochron::Age>> predictions(const ErosionHistory& history) const;

    // The length distributions of the samples of lengths along the same path; nothing when
    // predictions() gives nothing.
    using LengthPredictions = std::vector<std::optional<thermochron::TrackLengths>>;
    std::optional<LengthPredictions> lengthPredictions(const ErosionHistory& history) const;

    // chi2 of the samples plus -2 ln L of the lengths for history; NaN when predictions() gives
    // nothing.
    double operator()(const ErosionHistory& history) const;

    // chi2 of the samples for ages predicted for them (one per sample, in order).
    double chi2(const std::vector<thermochron::Age>& predicted) const;
    // -2 ln L of the lengths for distributions predicted for them (one per sample of lengths).
    double lengthsMisfit(const LengthPredictions& predicted) const;
    // The same for history (NaN when it cannot be run); 0 without lengths.
    double lengthsMisfit(const ErosionHistory& history) const;

    const std::vector<LengthSample>& lengths() const { return m_lengths; }

    std::size_t sampleCount() const { return m_measured.size(); }
    // Distinct computations per history: the thermal run's cost aside, what one evaluation costs.
    std::size_t kindCount() const { return m_predictor.kindCount(); }

private:
    // The path of the rock exposed today under history, when it can be run and dated.
    std::optional<SamplePath> pathOf(const ErosionHistory& history) const;
    LengthPredictions lengthsAlong(const SamplePath& path) const;

    thermal::ThermalParameters m_parameters;
    thermal::Resolution m_resolution;
    std::vector<MeasuredAge> m_measured;
    SamplePredictor m_predictor;
    std::vector<LengthSample> m_lengths;
    AgeSettings m_settings; // the mounts the lengths were measured in
};

// chi2 = sum_i ((age_obs_i - age_pred_i) / sigma_i)^2 of measured ages and their predictions, in
// the same order.
double chi2Of(
    const std::vector<MeasuredAge>& measured, const std::vector<thermochron::Age>& predicted);

// A warning line for the samples whose predicted age along history is not reset: the path does
// not erase what the grain held before it began, so the prediction is only what the grain
// gathered since the path's start, and an older rock could hold more. Names the history (as
// `which` calls it, e.g. "the best history"), the samples with their systems and lines, and the
// remedy; nothing when every prediction is reset.
std::optional<textformat::Warning> notResetWarning(const std::vector<ObservedAge>& samples,
    const std::vector<thermochron::Age>& predicted, const ErosionHistory& history,
    std::string_view which);

} // namespace ages
