#include "historyfiles.h"

#include "textformat.h"

#include "agetable.h"
#include "chaindiagnostics.h"
#include "erosionhistory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ages {

namespace {

// The walkers forget their start (drawn from the prior) within a few autocorrelation times; a
// burn-in shorter than this many may leave some of the start in the posterior.
constexpr double burnInTimesWanted = 10;
// Independent samples (walkers x kept steps / autocorrelation time) below which the 16th and
// 84th percentiles are uncertain by more than some 10 % of the interval's width.
constexpr double independentSamplesWanted = 200;
// A best rate this close to a bound of --rates (relative) sits on it: the minimisers stop within
// a fraction of a per cent of a bound when the misfit keeps falling towards it.
constexpr double rateAtBoundTolerance = 0.01;

// Decimals that show the width of a range with two significant digits, at least one.
int rangeDecimals(double low, double high)
{
    const double width = std::abs(high - low);
    if (!(width > 0))
        return 2;
    return std::clamp(static_cast<int>(std::ceil(-std::log10(width))) + 1, 1, 6);
}

std::string joined(const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty())
            line += ',';
        line += word;
    }
    return line;
}

void writeParameters(std::ostream& out, const HistorySpace& space, std::span<const double> x)
{
    out << csvNumber(space.pathStartMa);
    for (const double value : x)
        out << ',' << csvNumber(value);
}

std::string parameterName(const HistorySpace& space, std::size_t index)
{
    const HistoryParameter parameter = historyParameters(space).at(index);
    const std::string phase = std::to_string(parameter.phase);
    switch (parameter.role) {
    case ParameterRole::Rate:
        return "rate " + phase;
    case ParameterRole::EndRate:
        return "end rate " + phase;
    case ParameterRole::DecayTime:
        return "tau " + phase;
    case ParameterRole::ChangeTime:
        return "change time " + std::to_string(parameter.phase - 1);
    case ParameterRole::Other:
        break;
    }
    return space.otherColumn;
}

std::string parameterUnit(const HistorySpace& space, std::size_t index)
{
    switch (historyParameters(space).at(index).role) {
    case ParameterRole::Rate:
    case ParameterRole::EndRate:
        return " mm/yr";
    case ParameterRole::DecayTime:
        return " Myr";
    case ParameterRole::ChangeTime:
        return " Ma";
    case ParameterRole::Other:
        break;
    }
    return "";
}

// The option that bounds a parameter, for the warnings.
std::string boundingOption(const HistorySpace& space, std::size_t index)
{
    return historyParameters(space).at(index).role == ParameterRole::DecayTime ? "--decay-times"
                                                                               : "--rates";
}

std::string reducedText(const MisfitLevel& level)
{
    return std::isnan(level.reducedChi2) ? "undefined (no degrees of freedom)"
                                         : textformat::fixed(level.reducedChi2, 2);
}

} // namespace

void writeHistoryFitTable(std::ostream& out, const HistoryFit& fit)
{
    out << joined(historyColumnNames(fit.space)) << ",chi2,in_range\n";
    for (const TriedHistory& tried : fit.tried) {
        writeParameters(out, fit.space, tried.parameters);
        out << ',' << csvNumber(tried.chi2) << ',' << (tried.chi2 <= fit.level.level ? "yes" : "no")
            << '\n';
    }
}

void writeHistoryProfileTable(std::ostream& out, const HistoryFit& fit)
{
    out << "change,change_time_ma,chi2,chi2_level\n";
    for (const ChangeTimeProfile& profile : fit.profiles) {
        for (std::size_t i = 0; i < profile.changeTimesMa.size(); ++i) {
            out << profile.change << ',' << csvNumber(profile.changeTimesMa[i]) << ','
                << csvNumber(profile.chi2[i]) << ',' << csvNumber(fit.level.level) << '\n';
        }
    }
}

void writeHistoryPosteriorTable(std::ostream& out, const HistoryFit& fit)
{
    out << "walker,step," << joined(historyColumnNames(fit.space)) << ",chi2\n";
    if (!fit.posterior)
        return;
    const EnsembleChain& chain = fit.posterior->chain;
    for (int step = fit.posterior->burnIn + 1; step <= chain.steps(); ++step) {
        for (int k = 0; k < chain.walkers(); ++k) {
            out << k + 1 << ',' << step << ',';
            writeParameters(out, fit.space, chain.position(step, k));
            const double logLikelihood = chain.logLikelihood(step, k);
            out << ',' << csvNumber(std::isfinite(logLikelihood) ? -2 * logLikelihood : NAN)
                << '\n';
        }
    }
}

void writeGeothermTable(std::ostream& out, const thermal::Geotherm& geotherm)
{
    out << "depth_m,temperature_c\n";
    for (std::size_t i = 0; i < geotherm.depthM.size(); ++i)
        out << csvNumber(geotherm.depthM[i]) << ',' << csvNumber(geotherm.temperatureC[i]) << '\n';
}

void writeHistoryFitFile(const std::filesystem::path& file, const HistoryFit& fit)
{
    writeFileAtomically(file, [&](std::ostream& out) { writeHistoryFitTable(out, fit); });
}

void writeHistoryProfileFile(const std::filesystem::path& file, const HistoryFit& fit)
{
    writeFileAtomically(file, [&](std::ostream& out) { writeHistoryProfileTable(out, fit); });
}

void writeHistoryPosteriorFile(const std::filesystem::path& file, const HistoryFit& fit)
{
    writeFileAtomically(file, [&](std::ostream& out) { writeHistoryPosteriorTable(out, fit); });
}

std::string historySummary(const HistoryFit& fit)
{
    int timeDecimals = 2;
    for (const ChangeTimeProfile& profile : fit.profiles)
        timeDecimals
            = std::max(timeDecimals, rangeDecimals(profile.rangeLowMa, profile.rangeHighMa));
    std::string text
        = "best history: " + thermal::formatErosionHistory(fit.bestHistory(), timeDecimals, 3)
        + ", chi2 " + textformat::fixed(fit.level.chi2Min, 2) + ", reduced chi2 "
        + reducedText(fit.level) + "\n";
    for (const ChangeTimeProfile& profile : fit.profiles) {
        const int decimals = rangeDecimals(profile.rangeLowMa, profile.rangeHighMa);
        text += "change time " + std::to_string(profile.change) + ": "
            + textformat::fixed(fit.best[changeTimeIndex(fit.space, profile.change)], timeDecimals)
            + " Ma, range " + textformat::fixed(profile.rangeLowMa, decimals) + " to "
            + textformat::fixed(profile.rangeHighMa, decimals) + " Ma"
            + (fit.level.scaled ? " (scaled by reduced chi2)" : "") + "\n";
    }
    // A ramp's or a decay's parameters, each off its profile.
    for (const ParameterProfile& profile : fit.parameterProfiles) {
        const ChangeTimeProfile& curve = profile.curve;
        const int decimals = std::max(3, rangeDecimals(curve.rangeLowMa, curve.rangeHighMa));
        const std::string unit = parameterUnit(fit.space, profile.parameter);
        text += parameterName(fit.space, profile.parameter) + ": "
            + textformat::fixed(fit.best[profile.parameter], decimals) + unit + ", range "
            + textformat::fixed(curve.rangeLowMa, decimals) + " to "
            + textformat::fixed(curve.rangeHighMa, decimals) + unit
            + (fit.level.scaled ? " (scaled by reduced chi2)" : "") + "\n";
    }
    if (fit.rateFit)
        text += fitSummary(*fit.rateFit) + "\n";
    if (fit.posterior) {
        const HistoryPosterior& posterior = *fit.posterior;
        const int walkers = posterior.chain.walkers() / std::max(posterior.chains, 1);
        text += "sampler: "
            + (posterior.chains > 1 ? std::to_string(posterior.chains) + " chains of " : "")
            + std::to_string(walkers) + " walkers x " + std::to_string(posterior.chain.steps())
            + " steps, burn-in " + std::to_string(posterior.burnIn) + ", acceptance fraction "
            + textformat::fixed(posterior.chain.acceptanceFraction(), 2) + ", "
            + std::to_string(fit.evaluations()) + " histories run\n";
        for (std::size_t p = 0; p < posterior.intervals.size(); ++p) {
            const ParameterInterval& interval = posterior.intervals[p];
            const int decimals = rangeDecimals(interval.low, interval.high);
            const std::string unit = parameterUnit(fit.space, p);
            text += parameterName(fit.space, p) + ": median "
                + textformat::fixed(interval.median, decimals) + unit + ", 68 % interval "
                + textformat::fixed(interval.low, decimals) + " to "
                + textformat::fixed(interval.high, decimals) + unit + ", split R-hat "
                + textformat::fixed(posterior.splitRhat[p], 3) + ", effective size "
                + textformat::fixed(posterior.effectiveSize[p], 0) + "\n";
        }
    }
    return text;
}

std::vector<textformat::Warning> historyWarnings(const HistoryFit& fit)
{
    constexpr std::string_view mark = "warning: ";
    std::vector<textformat::Warning> warnings;
    const auto add = [&](const char* kind, const std::string& text) {
        warnings.push_back({ .kind = kind, .text = text });
    };
    if (const std::string line = parameterCountWarning(fit.space); !line.empty())
        add("parameter_count", line.starts_with(mark) ? line.substr(mark.size()) : line);
    const ValueBounds times = fit.space.changeTimesMa;
    for (const ChangeTimeProfile& profile : fit.profiles) {
        const std::string name = "change time " + std::to_string(profile.change);
        if (profile.rangeReachesHighBound)
            add("change_time_range", "the range of " + name + " reaches " + textformat::number(times.high)
                + " Ma, the oldest of --change-times: the ages cannot exclude an older change; "
                  "see the profile, or widen --change-times");
        if (profile.rangeReachesLowBound)
            add("change_time_range", "the range of " + name + " reaches " + textformat::number(times.low)
                + " Ma, the youngest of --change-times: the ages cannot exclude a younger "
                  "change; see the profile, or widen --change-times");
    }
    const std::vector<HistoryParameter> roles = historyParameters(fit.space);
    for (std::size_t p = 0; p < roles.size(); ++p) {
        if (roles[p].role != ParameterRole::Rate && roles[p].role != ParameterRole::EndRate)
            continue;
        const double rate = fit.best[p];
        for (const double bound : { fit.space.ratesMmYr.low, fit.space.ratesMmYr.high }) {
            if (std::abs(rate - bound) <= rateAtBoundTolerance * bound)
                add("rate_at_bound", parameterName(fit.space, p) + " of the best history lies at "
                    + textformat::number(bound) + " mm/yr, a bound of --rates: extend --rates");
        }
    }
    for (const ParameterProfile& profile : fit.parameterProfiles) {
        const ValueBounds bounds = parameterBounds(fit.space, profile.parameter);
        const std::string name = parameterName(fit.space, profile.parameter);
        const std::string option = boundingOption(fit.space, profile.parameter);
        const std::string unit = parameterUnit(fit.space, profile.parameter);
        if (profile.curve.rangeReachesLowBound)
            add("parameter_range",
                "the range of " + name + " reaches " + textformat::number(bounds.low) + unit
                    + ", the lowest of " + option
                    + ": the ages cannot exclude a lower value; see the profile, or widen "
                    + option);
        if (profile.curve.rangeReachesHighBound)
            add("parameter_range",
                "the range of " + name + " reaches " + textformat::number(bounds.high) + unit
                    + ", the highest of " + option
                    + ": the ages cannot exclude a higher value; see the profile, or widen "
                    + option);
    }
    if (fit.posterior) {
        const HistoryPosterior& posterior = *fit.posterior;
        double longest = 0; // steps
        for (const double tau : posterior.autocorrelationSteps)
            longest = std::max(longest, std::isnan(tau) ? 0.0 : tau);
        const double kept = posterior.chain.steps() - posterior.burnIn;
        const double independent = posterior.chain.walkers() * kept / std::max(longest, 1.0);
        if (posterior.burnIn < burnInTimesWanted * longest)
            add("burn_in", "the burn-in (" + std::to_string(posterior.burnIn)
                + " steps) is shorter than 10 autocorrelation times ("
                + textformat::fixed(longest, 0)
                + " steps): the walkers may still remember their start; raise --steps");
        for (std::size_t p = 0; p < posterior.splitRhat.size(); ++p) {
            if (posterior.splitRhat[p] > largestGoodRhat)
                add("chains_disagree", "the walkers disagree on " + parameterName(fit.space, p)
                    + " (split R-hat " + textformat::fixed(posterior.splitRhat[p], 3)
                    + " > 1.01): the posterior has not converged; raise --steps"
                    + (posterior.chains > 1 ? ""
                                            : ", or run --chains 4 to see whether independent "
                                              "chains agree"));
            if (posterior.effectiveSize[p] < smallestGoodEffectiveSize)
                add("few_effective_samples", parameterName(fit.space, p) + " rests on an effective sample of "
                    + textformat::fixed(posterior.effectiveSize[p], 0)
                    + " draws, fewer than 400: its interval is rough; raise --steps or --chains");
        }
        if (independent < independentSamplesWanted)
            add("few_independent_samples", "the posterior holds some " + textformat::fixed(independent, 0)
                + " independent samples, fewer than 200: the intervals are rough; raise --steps");
    }
    return warnings;
}

} // namespace ages
