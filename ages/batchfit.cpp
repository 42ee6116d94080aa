#include "batchfit.h"

#include "agerun.h"
#include "fittables.h"
#include "historyfiles.h"
#include "historyrun.h"
#include "inputerror.h"
#include "observedages.h"
#include "observedfit.h"
#include "terrainrun.h"

#include "erosionhistory.h"
#include "parallelfor.h"
#include "textformat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <new>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace ages {

namespace {

constexpr double noNumber = std::numeric_limits<double>::quiet_NaN();

// The columns of a row and, for a fitted group, their values, named in one place: a refused
// group's row (filled false) has the same columns with empty fields.
class Cells {
public:
    explicit Cells(bool filled)
        : m_filled(filled)
    {
    }

    template <class Value> void number(std::string name, const Value& value)
    {
        add(std::move(name), noNumber,
            [&]() -> TableValue { return static_cast<double>(value()); });
    }
    template <class Value> void text(std::string name, const Value& value)
    {
        add(std::move(name), std::string(), [&]() -> TableValue { return std::string(value()); });
    }
    template <class Value> void flag(std::string name, const Value& value)
    {
        add(std::move(name), std::string(),
            [&]() -> TableValue { return std::string(value() ? "yes" : "no"); });
    }

    std::vector<std::string> names;
    std::vector<TableValue> values;

private:
    template <class Value> void add(std::string name, TableValue empty, const Value& value)
    {
        names.push_back(std::move(name));
        values.push_back(m_filled ? value() : std::move(empty));
    }

    bool m_filled;
};

// The warnings' texts, joined.
std::string warningsOf(const std::vector<textformat::Warning>& warnings)
{
    std::string joined;
    for (const textformat::Warning& warning : warnings)
        joined += (joined.empty() ? "" : " | ") + warning.text;
    return joined;
}

// What a fitted group of a rate model leaves for its columns.
struct RateGroupFit {
    const std::vector<ObservedAge>& samples;
    const FitResult& result;
    std::string report;
};

void rateColumns(Cells& cells, const RateGroupFit* fitted)
{
    const RateFit* fit = fitted ? &fitted->result.fit : nullptr;
    const auto count = [&](auto predicate) {
        const auto& residuals = fitted->result.residuals;
        return std::count_if(residuals.begin(), residuals.end(), predicate);
    };
    cells.number("best_rate_mm_yr", [&] { return fit->bestRate; });
    cells.number("rate_low_mm_yr", [&] { return fit->rangeLow; });
    cells.number("rate_high_mm_yr", [&] { return fit->rangeHigh; });
    cells.number("chi2", [&] { return fit->chi2Min; });
    cells.number("reduced_chi2", [&] { return fit->reducedChi2; });
    cells.number("chi2_level", [&] { return fit->rangeLevel; });
    cells.flag("range_scaled", [&] { return fit->rangeScaled; });
    cells.number(
        "ages_left_out", [&] { return count([](const Residual& r) { return !r.inChi2; }); });
    cells.number(
        "not_reset", [&] { return count([](const Residual& r) { return r.inChi2 && !r.reset; }); });
    cells.flag(
        "range_at_low_end", [&] { return fit->rates.size() > 1 && fit->rangeReachesLowEnd; });
    cells.flag(
        "range_at_high_end", [&] { return fit->rates.size() > 1 && fit->rangeReachesHighEnd; });
    cells.number("minima", [&] { return fit->minimumCount; });
    cells.number("sigma_above_age", [&] {
        return std::count_if(fitted->samples.begin(), fitted->samples.end(),
            [](const ObservedAge& age) { return age.sigmaMa > age.ageMa; });
    });
}

bool samplerRuns(const HistoryRequest& history)
{
    HistorySpace space;
    space.phaseCount = history.fitPhases;
    return historyEngine(space, history.fit) == HistorySampler::mcmc;
}

// "rate_1" and "_mm_yr" of "rate_1_mm_yr".
std::pair<std::string, std::string> nameAndUnit(const std::string& column)
{
    const std::size_t unit = column.find('_', column.find('_') + 1);
    return { column.substr(0, unit), column.substr(unit) };
}

// "base_temperature" and "_c" of "base_temperature_c", "base_heat_flow" and "_mw_m2" of
// "base_heat_flow_mw_m2".
std::pair<std::string, std::string> baseNameAndUnit(const std::string& column)
{
    const std::size_t unit = column.rfind(column.ends_with("_mw_m2") ? "_mw_m2" : "_");
    return { column.substr(0, unit), column.substr(unit) };
}

// What a fitted group of the history or terrain model leaves for its columns.
struct HistoryGroupFit {
    const HistoryFit& fit;
    const std::vector<Residual>& residuals;
};

void historyColumns(Cells& cells, const HistoryRequest& history, const HistoryGroupFit* fitted)
{
    const HistoryFit* fit = fitted ? &fitted->fit : nullptr;
    const std::vector<std::string> names = historyColumnNames(history.fitPhases);
    cells.text(
        "best_history", [&] { return thermal::formatErosionHistory(fit->bestHistory(), 2, 3); });
    cells.number(names[0], [&] { return fit->space.pathStartMa; });
    for (std::size_t p = 1; p < names.size(); ++p)
        cells.number(names[p], [&] { return fit->best[p - 1]; });
    if (history.fitPhases == 1) {
        cells.number(
            "rate_1_low_mm_yr", [&] { return fit->rateFit ? fit->rateFit->rangeLow : noNumber; });
        cells.number(
            "rate_1_high_mm_yr", [&] { return fit->rateFit ? fit->rateFit->rangeHigh : noNumber; });
    }
    for (int change = 1; change < history.fitPhases; ++change) {
        const auto [name, unit] = nameAndUnit(names[2 * static_cast<std::size_t>(change)]);
        const auto profile
            = [&]() -> const ChangeTimeProfile& { return fit->profiles.at(change - 1); };
        cells.number(name + "_low" + unit, [&] { return profile().rangeLowMa; });
        cells.number(name + "_high" + unit, [&] { return profile().rangeHighMa; });
    }
    const bool sampled = samplerRuns(history);
    if (sampled) {
        for (std::size_t p = 1; p < names.size(); ++p) {
            const auto [name, unit] = nameAndUnit(names[p]);
            const auto interval
                = [&]() -> const ParameterInterval& { return fit->posterior->intervals.at(p - 1); };
            cells.number(name + "_median" + unit, [&] { return interval().median; });
            cells.number(name + "_p16" + unit, [&] { return interval().low; });
            cells.number(name + "_p84" + unit, [&] { return interval().high; });
            cells.number(name + "_rhat", [&] { return fit->posterior->splitRhat.at(p - 1); });
            cells.number(name + "_ess", [&] { return fit->posterior->effectiveSize.at(p - 1); });
        }
    }
    if (history.fitBase) {
        // The base's best value and its range off its profile (the least chi2 at each base).
        const auto [name, unit] = baseNameAndUnit(history.baseColumn());
        cells.number(name + unit, [&] { return otherOf(fit->space, fit->best); });
        cells.number(name + "_low" + unit,
            [&] { return fit->otherFit ? fit->otherFit->rangeLow : noNumber; });
        cells.number(name + "_high" + unit,
            [&] { return fit->otherFit ? fit->otherFit->rangeHigh : noNumber; });
    }
    cells.number("chi2", [&] { return fit->level.chi2Min; });
    cells.number("reduced_chi2", [&] { return fit->level.reducedChi2; });
    cells.number("chi2_level", [&] { return fit->level.level; });
    cells.flag("range_scaled", [&] { return fit->level.scaled; });
    cells.number("not_reset", [&] {
        const auto& residuals = fitted->residuals;
        return std::count_if(
            residuals.begin(), residuals.end(), [](const Residual& r) { return !r.reset; });
    });
    std::vector<textformat::Warning> warnings;
    if (fit)
        warnings = historyWarnings(*fit);
    const auto warned = [&](const std::string_view kind) {
        return std::any_of(warnings.begin(), warnings.end(),
            [&](const textformat::Warning& warning) { return warning.kind == kind; });
    };
    cells.flag("parameters_as_samples", [&] { return warned("parameter_count"); });
    cells.flag("change_time_at_bound", [&] { return warned("change_time_range"); });
    cells.flag("rate_at_bound", [&] { return warned("rate_at_bound"); });
    if (sampled) {
        cells.flag("short_burn_in", [&] { return warned("burn_in"); });
        cells.flag("few_independent", [&] { return warned("few_independent_samples"); });
        cells.flag("chains_disagree", [&] { return warned("chains_disagree"); });
        cells.flag("few_effective", [&] { return warned("few_effective_samples"); });
    }
}

// The columns of every model and the fitted values: the model's in between the group's and the
// warnings and refusal. fill runs the model's columns.
template <class Fill>
BatchRow row(const ObservedGroup& group, const std::string& warnings, const std::string& refusal,
    const Fill& fill, bool filled, std::vector<std::string>* names = nullptr)
{
    Cells cells(filled);
    // The group's own columns are there whether it was fitted or not.
    Cells always(true);
    always.text("group", [&] { return group.name; });
    always.number("ages", [&] { return group.rows.size(); });
    always.text("status", [&] { return refusal.empty() ? fittedStatus : refusedStatus; });
    fill(cells);
    Cells closing(true);
    closing.text("warnings", [&] { return warnings; });
    closing.text("refusal", [&] { return refusal; });

    BatchRow result { group.name, {} };
    for (Cells* part : { &always, &cells, &closing }) {
        if (names)
            names->insert(names->end(), part->names.begin(), part->names.end());
        result.values.insert(result.values.end(), part->values.begin(), part->values.end());
    }
    return result;
}

void modelColumns(Cells& cells, const BatchModel& model)
{
    if (model.request.model == Model::history || model.request.model == Model::terrain)
        historyColumns(cells, model.request.history, nullptr);
    else
        rateColumns(cells, nullptr);
}

BatchRow refusedRow(const BatchModel& model, const ObservedGroup& group, const std::string& why)
{
    return row(
        group, "", why, [&](Cells& cells) { modelColumns(cells, model); }, false);
}

BatchRow fitRateGroup(const BatchModel& model, const ObservedGroup& group, unsigned threads)
{
    std::istringstream text(groupText(group));
    const AgeRequest& request = model.request;
    std::vector<ObservedAge> samples = parseCheckedSamples(text, request, model.options);
    const ObservedFit fit(request, model.options, std::move(samples));
    const FitResult result = requestedFit(request, fit, {}, threads);
    std::ostringstream report;
    fit.report(result, report);
    const RateGroupFit fitted { fit.samples(), result, report.str() };
    return row(
        group, warningsOf(fit.warnings(result)), "", [&](Cells& cells) { rateColumns(cells, &fitted); },
        true);
}

BatchRow fitHistoryGroup(const BatchModel& model, const ObservedGroup& group, unsigned threads)
{
    AgeRequest request = model.request;
    request.history.fit.threads = threads;
    std::istringstream text(groupText(group));
    const std::string& label = model.options.observedFile;
    const HistorySamples samples = historySamples(parseObservedAges(text, label), request, label);
    const HistoryOutcome outcome
        = computeHistoryRun(request, samples, { .table = false, .path = false });
    const HistoryGroupFit fitted { *outcome.fit, outcome.residuals };
    return row(
        group, warningsOf(outcome.warnings), "",
        [&](Cells& cells) { historyColumns(cells, request.history, &fitted); }, true);
}

// The group's samples placed on the batch's terrain model (read once) and its history fitted,
// as cooling_ages terrain --observed GROUP.csv --fit-phases N fits it.
BatchRow fitTerrainGroup(const BatchModel& model, const ObservedGroup& group, unsigned threads)
{
    AgeRequest request = model.request;
    request.history.fit.threads = threads;
    std::istringstream text(groupText(group));
    const std::string& label = model.options.observedFile;
    TerrainSetup setup = model.terrain ? *model.terrain : prepareTerrainModel(request);
    placeTerrainRunSamples(request, parseObservedAges(text, label), label, setup);
    const TerrainOutcome outcome = computeTerrainRun(
        request, setup, { .table = false, .ageMap = false, .field = false });
    const HistoryGroupFit fitted { *outcome.fit, outcome.residuals };
    return row(
        group, warningsOf(outcome.warnings), "",
        [&](Cells& cells) { historyColumns(cells, request.history, &fitted); }, true);
}

// The rows of the group with an empty name, by their lines.
std::string unnamedRowsRefusal(const ObservedGroup& group)
{
    std::string lines;
    constexpr std::size_t linesNamed = 5;
    for (std::size_t i = 0; i < std::min(group.rows.size(), linesNamed); ++i)
        lines += (i == 0 ? "" : ", ") + std::to_string(group.rows[i].line);
    if (group.rows.size() > linesNamed)
        lines += ", ...";
    return std::to_string(group.rows.size()) + (group.rows.size() == 1 ? " row has" : " rows have")
        + " no value in column " + textformat::printable(group.column) + " (line"
        + (group.rows.size() == 1 ? " " : "s ") + lines + "): name their group, or leave them out";
}

} // namespace

std::optional<std::string> batchModelError(const BatchModel& model)
{
    const AgeRequest& request = model.request;
    if (request.model == Model::path)
        return "a path from a file fits no rate: the batch fits --model transient, periodic, "
               "history or terrain";
    for (const auto& [fitted, name] :
        { std::pair { Model::history, "history" }, std::pair { Model::terrain, "terrain" } }) {
        if (request.model == fitted && request.history.fitPhases == 0)
            return std::string("--model ") + name
                + " fits an erosion history to every group: add --fit-phases N";
    }
    if (request.model == Model::terrain) {
        for (const auto& [option, file] :
            { std::pair { "--age-map", request.terrain.ageMapFile },
                std::pair { "--field", request.terrain.fieldFile } }) {
            if (!file.empty())
                return std::string(option)
                    + " writes a file of one run: a batch writes one table (--output)";
        }
    }
    if (request.model == Model::history
        && std::any_of(request.history.fitShapes.begin(), request.history.fitShapes.end(),
            [](thermal::PhaseShape shape) { return shape != thermal::PhaseShape::Constant; }))
        return "--fit-shapes: a batch fits phases of constant rate; fit a group's ramps and "
               "decays with cooling_ages history";
    const FitOptions& options = model.options;
    // The table has no column of a fitted base for these models yet.
    if (options.fitBase && request.model != Model::history)
        return "--fit-base in a batch fits the geotherm of --model history or terrain only: the batch's "
               "table of transient and periodic fits has no column for it";
    for (const auto& [option, file] : { std::pair { "--fit-output", options.fitOutput },
             std::pair { "--residuals", options.residualsOutput },
             std::pair { "--path-output", options.pathOutput },
             std::pair { "--profile-output", options.profileOutput },
             std::pair { "--posterior", options.posteriorOutput } }) {
        if (!file.empty())
            return std::string(option)
                + " writes a file of one fit: a batch writes one table (--output) and, with "
                  "--results DIR, one file per group";
    }
    return std::nullopt;
}

void checkBatchModel(const BatchModel& model)
{
    if (const auto error = batchModelError(model))
        throw InputError(*error);
    if (const auto error = settingsError(model.request.settings))
        throw InputError(*error);
    if (const auto error = fitOptionsError(model.request, model.options))
        throw InputError(*error);
    if (model.request.model == Model::history)
        checkHistoryRequest(model.request);
}

void prepareBatchModel(BatchModel& model)
{
    checkBatchModel(model);
    if (model.request.model == Model::terrain)
        model.terrain = std::make_shared<const TerrainSetup>(prepareTerrainModel(model.request));
}

std::vector<std::string> batchColumns(const BatchModel& model)
{
    std::vector<std::string> names;
    const ObservedGroup none;
    row(
        none, "", "", [&](Cells& cells) { modelColumns(cells, model); }, false, &names);
    return names;
}

bool BatchRow::refused() const
{
    return values.size() > 2 && std::get<std::string>(values[2]) == refusedStatus;
}

BatchRow fitGroup(const BatchModel& model, const ObservedGroup& group, const unsigned threads)
{
    if (group.name.empty())
        return refusedRow(model, group, unnamedRowsRefusal(group));
    try {
        if (model.request.model == Model::history)
            return fitHistoryGroup(model, group, threads);
        if (model.request.model == Model::terrain)
            return fitTerrainGroup(model, group, threads);
        return fitRateGroup(model, group, threads);
    } catch (const InputError& error) {
        return refusedRow(model, group, error.what());
    } catch (const ObservedAgesError& error) {
        return refusedRow(model, group, error.what());
    } catch (const std::invalid_argument& error) {
        return refusedRow(model, group, error.what()); // an age model's refusal of a grain
    } catch (const std::system_error&) {
        throw; // the machine's failure (threads), not the group's
    } catch (const std::runtime_error& error) {
        // No rate or history gave a misfit that is a number.
        return refusedRow(model, group, error.what());
    }
}

std::vector<BatchRow> fitGroups(const BatchModel& model,
    const std::vector<const ObservedGroup*>& groups, const unsigned threads, const GroupDone& done)
{
    std::vector<BatchRow> rows(groups.size());
    std::mutex doneLock;
    parallelFor(groups.size(), threads, [&](std::size_t i) {
        rows[i] = fitGroup(model, *groups[i], 1);
        if (done) {
            const std::lock_guard lock(doneLock);
            done(i, rows[i]);
        }
    });
    return rows;
}

} // namespace ages
