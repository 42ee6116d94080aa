#pragma once
// The misfit of measured ages to an erosion history: the history's thermal model gives the path
// of the rock exposed today, every sample is dated along it with its own grain, and
//
//     chi2 = sum_i ((age_obs_i - age_pred_i) / sigma_i)^2
//
// over the samples: the HistoryMisfit the history fits minimise (historyfit.h). Without a
// placement all samples share the one path, since they are taken as one rock (one site) dated by
// several systems and grains; samples that need the same computation (system, method and grain)
// share it (samplepredictor.h), so the cost is one thermal run and one age per distinct grain.
//
// A placement puts each sample at its depth today below the model's mean surface (negative for
// a sample of a vertical profile above it, positive in a borehole: thermal::PlacedRocks), and
// adds to chi2 the temperatures measured today at depths and the surface heat flow,
//
//     chi2 += sum_j ((T_obs_j - T_model(z_j)) / sigma_j)^2 + sum_k ((q_obs_k - q_model) /
//     sigma_k)^2
//
// with the model's present geotherm. One column run serves every sample: one path per distinct
// depth, each dated for the grains of the samples there.
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

#include <cmath>
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

// A temperature or heat flow measured today, with its one-sigma error.
struct MeasuredValue {
    double value = 0;
    double sigma = 1; // > 0
};

// A temperature measured today at a depth below the model's mean surface.
struct PlacedTemperature {
    double depthM = 0; // m below the mean surface; negative above it
    MeasuredValue temperatureC;
};

// Where the samples lie and what else the fit compares with the column today.
struct HistoryPlacement {
    std::vector<double> presentDepthsM; // per sample, m below the mean surface; empty: all at 0
    double lapseRateCm = 0.0065; // C/m above the mean surface
    std::vector<PlacedTemperature> temperatures; // rows of system T
    std::vector<MeasuredValue> heatFlowsMWm2; // rows of system Q

    bool placesSamples() const;
};

// What the model predicts for the data under one history.
// The length distributions of the samples of lengths: nothing where the path leaves no track.
using LengthPredictions = std::vector<std::optional<thermochron::TrackLengths>>;

struct HistoryPrediction {
    std::vector<thermochron::Age> ages; // one per sample, in order
    LengthPredictions lengths; // one per sample of lengths, along the mean surface rock's path
    std::vector<double> temperaturesC; // one per measured temperature
    double surfaceHeatFlowMWm2 = 0;
    thermal::Geotherm presentGeotherm;
};

class HistoryAgeMisfit {
public:
    // One kind per sample, as sampleAgeKinds gives them; the placement's depths one per sample;
    // lengths: the measured track lengths of the rock at the mean surface, predicted in the
    // mounts of settings along its path and entering the misfit as -2 ln L (lengthmisfit.h).
    HistoryAgeMisfit(const thermal::ThermalParameters& parameters,
        const std::vector<ObservedAge>& samples, const std::vector<AgeKind>& kinds,
        const thermal::Resolution& resolution = fitResolution,
        const HistoryPlacement& placement = {}, std::vector<LengthSample> lengths = {},
        const AgeSettings& settings = {});

    // The predictions under history with the column's base (its temperature, or with a held heat
    // flow that flow) set to base, or kept as given when base is NaN; nothing when the model
    // cannot run the history (thermal::placedRunError: e.g. a rock that would have started below
    // the base) or a path leaves the temperatures the age models take. Pure: safe from many
    // threads at once.
    std::optional<HistoryPrediction> prediction(const ErosionHistory& history, double base) const;

    // The ages alone, at the given base.
    std::optional<std::vector<thermochron::Age>> predictions(const ErosionHistory& history) const;

    // The length distributions of the samples of lengths under history; nothing when
    // prediction() gives nothing.
    std::optional<LengthPredictions> lengthPredictions(
        const ErosionHistory& history, double base = std::nan("")) const;
    // -2 ln L of the lengths for distributions predicted for them (one per sample of lengths).
    double lengthsMisfit(const LengthPredictions& predicted) const;
    // The same for history at base (NaN: as given; NaN when it cannot be run); 0 without lengths.
    double lengthsMisfit(const ErosionHistory& history, double base = std::nan("")) const;
    const std::vector<LengthSample>& lengths() const { return m_lengths; }

    // chi2 of the data for history (at base), plus -2 ln L of the lengths; NaN when prediction()
    // gives nothing.
    double operator()(const ErosionHistory& history) const;
    double operator()(const ErosionHistory& history, double base) const;

    // chi2 of the samples for ages predicted for them (one per sample, in order).
    double chi2(const std::vector<thermochron::Age>& predicted) const;
    // chi2 of the ages, temperatures and heat flows.
    double chi2(const HistoryPrediction& predicted) const;

    // The parameters with the base set (NaN: as given).
    thermal::ThermalParameters parametersAt(double base) const;

    std::size_t sampleCount() const { return m_measured.size(); }
    // The data chi2 sums over: samples, temperatures and heat flows.
    std::size_t dataCount() const;
    // Distinct computations per history: the thermal run's cost aside, what one evaluation costs.
    std::size_t kindCount() const;
    // Distinct paths per history: the depths the samples lie at.
    std::size_t pathCount() const { return m_depthsM.size(); }

private:
    thermal::ThermalParameters m_parameters;
    thermal::Resolution m_resolution;
    std::vector<MeasuredAge> m_measured;
    HistoryPlacement m_placement;
    std::vector<double> m_depthsM; // the distinct present depths, increasing
    std::vector<SamplePredictor> m_predictors; // per depth: its samples' kinds
    std::vector<std::vector<std::size_t>> m_samplesAt; // per depth: its samples' indices
    std::vector<LengthSample> m_lengths;
    AgeSettings m_settings; // the mounts the lengths were measured in
};

// A warning line for the samples whose predicted age along history is not reset: the path does
// not erase what the grain held before it began, so the prediction is only what the grain
// gathered since the path's start, and an older rock could hold more. Names the history (as
// `which` calls it, e.g. "the best history"), the samples with their systems and lines, and the
// remedy; empty when every prediction is reset.
// chi2 = sum_i ((age_obs_i - age_pred_i) / sigma_i)^2 of measured ages and their predictions, in
// the same order.
double chi2Of(
    const std::vector<MeasuredAge>& measured, const std::vector<thermochron::Age>& predicted);

std::optional<textformat::Warning> notResetWarning(const std::vector<ObservedAge>& samples,
    const std::vector<thermochron::Age>& predicted, const ErosionHistory& history,
    std::string_view which);

} // namespace ages
