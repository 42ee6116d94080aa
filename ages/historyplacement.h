#pragma once
// Where `cooling_ages history` puts each sample, and what its summary says beyond the fit's
// engines: a vertical profile's samples at their heights above the mean surface, borehole samples
// and temperatures at their depths, the surface heat flow, the fitted base, and the "assumed:"
// line.
//
// A sample's depth below the model's mean surface today is
//
//     z0 = depth_m - (elevation_m - M)        (M: --mean-elevation; 0 for a missing value)
//
// so a sample h above the mean surface has z0 = -h, and one d down a borehole at a site on the
// mean surface z0 = d (thermal::PlacedRocks). Samples without elevation_m and depth_m lie at the
// mean surface: the one rock exposed today.
//
//     const HistoryPlacement placement = historyPlacement(request.history, samples);
//     const HistoryAgeMisfit misfit(parameters, samples.ages, samples.kinds, fitResolution,
//         placement);

#include "historyfitresult.h"
#include "historymisfit.h"
#include "historyrequest.h"
#include "observedages.h"

#include <string>
#include <vector>

namespace ages {

// The placement of the samples, temperatures and heat flows. Throws InputError for data that
// carry elevation_m without --mean-elevation (naming the first line).
HistoryPlacement historyPlacement(const HistoryRequest& request,
    const std::vector<ObservedAge>& ages, const std::vector<ObservedTemperature>& temperatures,
    const std::vector<ObservedHeatFlow>& heatFlows);

// A note line when the samples' heights span more than a quarter of the shallowest closure depth
// of their predicted ages (the erosion since each age under history): the 1D column's isotherms
// are flat, and under relief that tall real ones bend. Empty otherwise.
std::string reliefNote(const std::vector<ObservedAge>& ages, const HistoryPlacement& placement,
    const std::vector<thermochron::Age>& predicted, const ErosionHistory& history,
    std::string_view which);

// The base of the column as the "assumed:" lines give it: "base 1250 C at 50000 m (-b)", "base
// heat flow 30 mW/m2 at 50000 m (-q)", or with --fit-base "base fitted, 800 to 1600 C at
// 50000 m (--fit-base)".
std::string assumedBase(const HistoryRequest& request);

// "assumed: surface 0 C, base 1250 C at 50000 m (-b), conductivity 3 W/m/K, ..., path start
// 30 Ma; kinetics ...; grain defaults ...": what a history's answer rests on besides the data.
// With --fit-base the base reads "base fitted, 800 to 1600 C at 50000 m (--fit-base)".
std::string historyAssumedLine(const HistoryRequest& request, const std::vector<ObservedAge>& ages,
    const std::vector<AgeKind>& kinds, const AgeSettings& settings);

// With --fit-base, the base's best value and range: "base_temperature_c: 1180 C, range 1020 to
// 1350 C (fitted with the erosion)"; empty without.
std::string fittedBaseSummary(const HistoryFit& fit, const HistoryRequest& request);

// With --fit-base, the warnings: the base's range reaching a bound of --fit-base, and when the
// rate's range over every base that fits is more than twice its range at the best base, "the
// ages constrain rate and geotherm together: ...". Each line ends in a line end.
std::string fittedBaseWarnings(const HistoryFit& fit, const HistoryRequest& request);

// "surface heat flow today: 62.5 mW/m2 at the best history", and the measured temperatures and
// heat flows against the model's, a line each.
std::string presentColumnSummary(
    const HistoryPrediction& predicted, const HistoryPlacement& placement, std::string_view which);

} // namespace ages
