#include "historyplacement.h"

#include "assumptions.h"
#include "fittedbase.h"
#include "inputerror.h"
#include "misfitlevel.h"

#include "textformat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ages {

namespace {

// A profile's relief above this share of the shallowest closure depth bends the isotherms
// enough to matter: the bending of a periodic relief decays with depth as exp(-2 pi z / lambda),
// and a relief as tall as a quarter of the closure depth stands for a wavelength of the order of
// that depth.
constexpr double reliefShareOfClosureDepth = 0.25;
// A change time's range with the base fitted more than this many times its width at the best
// base: the ages do not separate the two.
constexpr double rangeWideningWarned = 2.0;

double heightAbove(const std::optional<double>& elevationM, const HistoryRequest& request)
{
    return elevationM ? *elevationM - *request.meanElevationM : 0.0;
}

std::string baseUnit(const HistoryRequest& request)
{
    return request.thermal.base == thermal::BaseCondition::HeatFlow ? "mW/m2" : "C";
}

} // namespace

HistoryPlacement historyPlacement(const HistoryRequest& request,
    const std::vector<ObservedAge>& ages, const std::vector<ObservedTemperature>& temperatures,
    const std::vector<ObservedHeatFlow>& heatFlows)
{
    if (!request.meanElevationM) {
        int line = 0;
        for (const ObservedAge& sample : ages)
            line = line == 0 && sample.elevationM ? sample.line : line;
        for (const ObservedTemperature& measured : temperatures)
            line = line == 0 && measured.elevationM ? measured.line : line;
        if (line != 0)
            throw InputError("the samples carry elevations (elevation_m, line "
                + std::to_string(line)
                + "): give --mean-elevation M, the field elevation of the column's surface, to "
                  "place each sample at its height above it");
    }
    HistoryPlacement placement;
    placement.lapseRateCm = request.lapseRateCkm / 1000.0;
    for (const ObservedAge& sample : ages)
        placement.presentDepthsM.push_back(
            sample.depthM.value_or(0.0) - heightAbove(sample.elevationM, request));
    for (const ObservedTemperature& measured : temperatures)
        placement.temperatures.push_back(
            { measured.depthM - heightAbove(measured.elevationM, request),
                { measured.temperatureC, measured.sigmaC } });
    for (const ObservedHeatFlow& measured : heatFlows)
        placement.heatFlowsMWm2.push_back({ measured.heatFlowMWm2, measured.sigmaMWm2 });
    if (!placement.placesSamples())
        placement.presentDepthsM.clear();
    return placement;
}

std::string reliefNote(const std::vector<ObservedAge>& ages, const HistoryPlacement& placement,
    const std::vector<thermochron::Age>& predicted, const ErosionHistory& history,
    const std::string_view which)
{
    if (placement.presentDepthsM.empty())
        return {};
    double highest = -std::numeric_limits<double>::infinity();
    double lowest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < ages.size(); ++i) {
        if (!ages[i].elevationM)
            continue;
        highest = std::max(highest, -placement.presentDepthsM[i]);
        lowest = std::min(lowest, -placement.presentDepthsM[i]);
    }
    const double reliefM = highest - lowest;
    if (!(reliefM > 0))
        return {};
    double shallowestM = std::numeric_limits<double>::infinity();
    std::size_t shallowest = 0;
    for (std::size_t i = 0; i < ages.size(); ++i) {
        const double ageMa = std::min(predicted[i].ageMa, history.front().startMa);
        const double closureM = thermal::exhumationSinceM(history, ageMa);
        if (closureM < shallowestM) {
            shallowestM = closureM;
            shallowest = i;
        }
    }
    if (!(reliefM > reliefShareOfClosureDepth * shallowestM))
        return {};
    return textformat::noteLine("the samples span " + textformat::fixed(reliefM, 0)
        + " m of height, more than a quarter of the shallowest closure depth ("
        + textformat::fixed(shallowestM, 0) + " m, "
        + std::string(thermochron::systemName(ages[shallowest].system)) + " at "
        + std::string(which)
        + "): the column's isotherms are flat, real ones bend under relief "
          "that tall (see docs/profiles.md, placing samples; cooling_ages periodic measures the "
          "bending)");
}

std::string assumedBase(const HistoryRequest& request)
{
    const thermal::ThermalParameters& p = request.thermal;
    const bool flow = p.base == thermal::BaseCondition::HeatFlow;
    if (request.fitBase)
        return std::string("base fitted, ") + (flow ? "heat flow " : "")
            + textformat::number(request.fitBase->low) + " to "
            + textformat::number(request.fitBase->high) + " " + baseUnit(request) + " at "
            + textformat::number(p.baseDepthM) + " m (--fit-base)";
    return std::string("base ") + (flow ? "heat flow " : "")
        + textformat::number(flow ? p.baseHeatFlowMWm2 : p.baseTemperatureC) + " "
        + baseUnit(request) + " at " + textformat::number(p.baseDepthM) + " m ("
        + (flow ? "-q" : "-b") + ")";
}

std::string historyAssumedLine(const HistoryRequest& request, const std::vector<ObservedAge>& ages,
    const std::vector<AgeKind>& kinds, const AgeSettings& settings)
{
    const thermal::ThermalParameters& p = request.thermal;
    std::string line = "assumed: surface " + textformat::number(p.surfaceTemperatureC) + " C, "
        + assumedBase(request) + ", conductivity " + textformat::number(p.conductivityWmK) + " W/m/K, diffusivity "
        + textformat::number(p.diffusivityM2s) + " m2/s, heat production "
        + textformat::number(p.heatProductionUWm3) + " uW/m3, "
        + (p.initial == thermal::InitialState::Steady ? "steady" : "linear")
        + " initial state, path start " + textformat::number(request.pathStartMa()) + " Ma";
    const bool placed = std::any_of(ages.begin(), ages.end(),
        [](const ObservedAge& sample) { return sample.elevationM || sample.depthM; });
    if (placed) {
        line += ", samples placed below a mean surface at "
            + textformat::number(request.meanElevationM.value_or(0.0)) + " m, lapse rate "
            + textformat::number(request.lapseRateCkm) + " C/km, flat isotherms";
    } else {
        line += ", every sample at the surface";
    }
    line += "; " + kineticsAssumed(kinds);
    if (const std::string grains = grainDefaultsAssumed(ages, kinds, settings); !grains.empty())
        line += "; " + grains;
    return line;
}

namespace {

FittedBaseWords baseWords(const HistoryRequest& request)
{
    return { request.baseColumn(),
        request.thermal.base == thermal::BaseCondition::HeatFlow ? "mW/m2" : "C",
        *request.fitBase };
}

} // namespace

std::string fittedBaseSummary(const HistoryFit& fit, const HistoryRequest& request)
{
    if (!fit.otherFit || !request.fitBase)
        return {};
    return fittedBaseLine(*fit.otherFit, baseWords(request), fit.level.scaled) + "\n";
}

std::string fittedBaseWarnings(const HistoryFit& fit, const HistoryRequest& request)
{
    if (!fit.otherFit || !request.fitBase)
        return {};
    std::string text;
    const bool onePhase = fit.rateFit && fit.rateFitAtBestOther;
    for (const textformat::Warning& warning : ages::fittedBaseWarnings(*fit.otherFit,
             baseWords(request), onePhase ? &*fit.rateFit : nullptr,
             onePhase ? &*fit.rateFitAtBestOther : nullptr))
        text += warning.line() + "\n";
    for (std::size_t k = 0; k < fit.profilesAtBestOther.size() && k < fit.profiles.size(); ++k) {
        const ChangeTimeProfile& all = fit.profiles[k];
        const ChangeTimeProfile& alone = fit.profilesAtBestOther[k];
        // Only a grid base near enough to the best to reach the level says what one base allows.
        const bool reachesLevel = std::any_of(alone.chi2.begin(), alone.chi2.end(),
            [&](double chi2) { return chi2 <= fit.level.level; });
        if (reachesLevel
            && all.rangeHighMa - all.rangeLowMa
                > rangeWideningWarned * (alone.rangeHighMa - alone.rangeLowMa)) {
            text += "warning: the ages constrain the history and the geotherm together: change "
                    "time "
                + std::to_string(all.change) + " ranges from "
                + textformat::fixed(all.rangeLowMa, 1) + " to "
                + textformat::fixed(all.rangeHighMa, 1) + " Ma over the bases that fit, against "
                + textformat::fixed(alone.rangeLowMa, 1) + " to "
                + textformat::fixed(alone.rangeHighMa, 1)
                + " Ma at the best base alone: add data that know the geotherm (borehole "
                  "temperatures, system T; heat flow, Q) or systems of other closure "
                  "temperatures\n";
        }
    }
    return text;
}

std::string presentColumnSummary(const HistoryPrediction& predicted,
    const HistoryPlacement& placement, const std::string_view which)
{
    std::string text
        = "surface heat flow today: " + textformat::fixed(predicted.surfaceHeatFlowMWm2, 1)
        + " mW/m2 at " + std::string(which) + "\n";
    for (std::size_t j = 0; j < placement.temperatures.size(); ++j) {
        const PlacedTemperature& measured = placement.temperatures[j];
        text += "temperature at " + textformat::number(measured.depthM) + " m: measured "
            + textformat::number(measured.temperatureC.value) + " +- "
            + textformat::number(measured.temperatureC.sigma) + " C, model "
            + textformat::fixed(predicted.temperaturesC[j], 1) + " C\n";
    }
    for (const MeasuredValue& measured : placement.heatFlowsMWm2)
        text += "surface heat flow measured: " + textformat::number(measured.value) + " +- "
            + textformat::number(measured.sigma) + " mW/m2\n";
    return text;
}

} // namespace ages
