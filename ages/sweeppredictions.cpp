#include "sweeppredictions.h"

#include "agesettings.h"
#include "agetable.h"
#include "parallelfor.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>

namespace ages {

namespace {

// What a sample's prediction reads, as one comparable value: a value the method does not read is
// 0 here, so that two samples differing only in it compare equal.
auto grainKey(const Residual& r, bool byElevation)
{
    const GrainValuesRead read = grainValuesRead(r.sample->system, r.method);
    const auto value = [](bool isRead, double v) { return isRead ? v : 0.0; };
    return std::tuple { r.sample->system, r.method, r.kinetics,
        value(read.radius, r.grain.radiusUm), value(read.parentContents, r.grain.uPpm),
        value(read.parentContents, r.grain.thPpm), value(read.parentContents, r.grain.smPpm),
        value(read.dpar, r.grain.dparUm), value(read.pressure, r.grain.pressureKbar),
        byElevation ? r.sample->elevationM : std::optional<double> {} };
}

// A grain value where the method reads it, else an empty field.
std::string grainField(const Residual& r, bool GrainValuesRead::*read, double value)
{
    return grainValuesRead(r.sample->system, r.method).*read ? csvNumber(value) : std::string();
}

void writeRow(std::ostream& out, double rateMmYr, const Residual& grain, double ageMa, bool reset,
    bool byElevation)
{
    out << csvNumber(rateMmYr) << ',' << thermochron::systemName(grain.sample->system) << ','
        << thermochron::methodName(grain.method) << ','
        << grainField(grain, &GrainValuesRead::radius, grain.grain.radiusUm) << ','
        << grainField(grain, &GrainValuesRead::parentContents, grain.grain.uPpm) << ','
        << grainField(grain, &GrainValuesRead::parentContents, grain.grain.thPpm) << ','
        << grainField(grain, &GrainValuesRead::parentContents, grain.grain.smPpm) << ','
        << grainField(grain, &GrainValuesRead::dpar, grain.grain.dparUm) << ','
        << thermochron::kineticsName(grain.kinetics) << ',' << csvNumber(ageMa) << ','
        << (reset ? "yes" : "no");
    if (byElevation)
        out << ',' << csvNumber(grain.sample->elevationM.value_or(NAN));
    out << '\n';
}

} // namespace

SweepPredictions fitSweepPredictions(const ObservedFit& fit, const FitResult& result,
    const bool periodic, std::vector<std::vector<SweepAge>> passAges)
{
    SweepPredictions sweep;
    sweep.rates = fit.rates();
    sweep.ages = result.base ? sweepAgesAtBase(fit, sweep.rates, result.base->base.bestRate)
                             : std::move(passAges);
    // A transient sample with an elevation stands at its height above --mean-elevation.
    sweep.byElevation = periodic || std::ranges::any_of(fit.samples(), [](const ObservedAge& s) {
        return s.elevationM.has_value();
    });
    return sweep;
}

std::vector<std::vector<SweepAge>> sweepAgesAtBase(
    const ObservedFit& fit, const std::vector<double>& rates, const double base)
{
    std::vector<std::vector<SweepAge>> ages(rates.size());
    parallelFor(rates.size(), defaultThreadCount(), [&](std::size_t k) {
        for (const thermochron::Age& age : fit.predictions(rates[k], base))
            ages[k].push_back({ age.ageMa, age.reset });
    });
    return ages;
}

std::vector<std::size_t> distinctGrainSamples(
    const std::vector<Residual>& residuals, const bool byElevation)
{
    std::vector<std::size_t> firsts;
    for (std::size_t i = 0; i < residuals.size(); ++i) {
        const auto key = grainKey(residuals[i], byElevation);
        if (std::ranges::none_of(
                firsts, [&](std::size_t j) { return grainKey(residuals[j], byElevation) == key; }))
            firsts.push_back(i);
    }
    return firsts;
}

void writeSweepPredictionTable(std::ostream& out, const SweepPredictions& sweep,
    const std::vector<Residual>& residuals, const double bestRateMmYr)
{
    out << "rate_mm_yr,system,method,radius_um,u_ppm,th_ppm,sm_ppm,dpar_um,kinetics,age_ma,reset"
        << (sweep.byElevation ? ",elevation_m\n" : "\n");
    const std::vector<std::size_t> grains = distinctGrainSamples(residuals, sweep.byElevation);
    // The best rate among the sweep's, unless it is one of them: its ages are the residuals'.
    const bool bestApart = std::ranges::find(sweep.rates, bestRateMmYr) == sweep.rates.end();
    bool bestWritten = !bestApart;
    const auto writeBest = [&] {
        for (const std::size_t i : grains)
            writeRow(out, bestRateMmYr, residuals[i], residuals[i].predictedAgeMa,
                residuals[i].reset, sweep.byElevation);
        bestWritten = true;
    };
    for (std::size_t k = 0; k < sweep.rates.size(); ++k) {
        if (!bestWritten && bestRateMmYr < sweep.rates[k])
            writeBest();
        for (const std::size_t i : grains)
            writeRow(out, sweep.rates[k], residuals[i], sweep.ages[k][i].ageMa,
                sweep.ages[k][i].reset, sweep.byElevation);
    }
    if (!bestWritten)
        writeBest();
}

} // namespace ages
