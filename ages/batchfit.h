#pragma once
// One group of a compilation (observedgroups.h) fitted on its own with the batch's model and
// options, as one row of the batch's table (batchtable.h). The fit is the program's own: the
// group's rows read and checked as cooling_ages MODEL --observed reads a file that holds only
// them, then the fit of that model (requestedFit, or computeHistoryRun for the history model),
// so that a group's row holds what `cooling_ages MODEL --observed GROUP.csv` prints for it.
//
//     const BatchModel model { request, options };            // checked by batchModelError
//     const std::vector<std::string> columns = batchColumns(model);
//     const BatchRow row = fitGroup(model, group);             // never throws for the group's data
//
// The columns, in order:
//   group, ages, status (fitted or refused)
//   transient, periodic: best_rate_mm_yr, rate_low_mm_yr, rate_high_mm_yr (the range), chi2,
//     reduced_chi2, chi2_level, range_scaled (yes: widened by the reduced chi2); the warnings:
//     ages_left_out (older than the paths, out of chi2), not_reset (predictions at the best rate
//     that do not reset the grain), range_at_low_end and range_at_high_end (yes: the range
//     reaches that end of --rates), minima (separate minima of chi2), sigma_above_age (rows);
//   history, terrain: best_history (as --erosion reads it), start_1_ma, rate_1_mm_yr, ... (the best
//     history's parameters), rate_1_low_mm_yr and rate_1_high_mm_yr (one phase), start_K_low_ma
//     and start_K_high_ma (each change time's range), with the ensemble sampler each parameter's
//     _median and 68 % interval _p16 and _p84 (rate_1_median_mm_yr, ...), its split R-hat _rhat
//     and effective sample size _ess, then chi2, reduced_chi2, chi2_level, range_scaled; the
//     warnings: not_reset, parameters_as_samples, change_time_at_bound, rate_at_bound, and with
//     the sampler short_burn_in, few_independent, chains_disagree, few_effective (yes or no);
//   warnings (every warning line of the fit, joined by " | "), refusal (why the group was not
//     fitted; empty when it was).
//   with --fit-base (history, terrain), after the model's own: base_temperature_c (with -q
//     base_heat_flow_mw_m2), the best base, and its range _low and _high (base_temperature_low_c,
//     ...) from its profile;
// A refused group's row holds its group, ages, status and refusal; its other fields are empty.
//
// The terrain model reads its DEM (and uplift map) once for the batch (prepareBatchModel), and
// every group places its samples on that one model and fits its history with it.

#include "agerequest.h"
#include "agetable.h"
#include "fitoptions.h"
#include "observedgroups.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

struct TerrainSetup;

// The model and options every group of a batch is fitted with.
struct BatchModel {
    AgeRequest request; // the model (transient, periodic, history or terrain) and its options
    FitOptions options; // observedFile names the file in the messages
    // The terrain model's DEM and parameters, read once for every group (prepareBatchModel);
    // without it each group reads them itself.
    std::shared_ptr<const TerrainSetup> terrain;
};

// Why the model cannot fit a batch, before any group is read: a model that fits no measured
// ages (path), a history without --fit-phases, an output of one fit (a batch writes one table).
std::optional<std::string> batchModelError(const BatchModel& model);

// Throws InputError for what would refuse every group alike, before any is read: the above, the
// age options (settingsError), the fit's options (fitOptionsError) and, for the history model,
// its history on its thermal parameters (checkHistoryRequest).
void checkBatchModel(const BatchModel& model);

// checkBatchModel, then for the terrain model its DEM read and its parameters checked once
// (prepareTerrainModel) into model.terrain. Throws InputError.
void prepareBatchModel(BatchModel& model);

// The columns of the model's table, in order (see above).
std::vector<std::string> batchColumns(const BatchModel& model);

inline constexpr std::string_view fittedStatus = "fitted";
inline constexpr std::string_view refusedStatus = "refused";

struct BatchRow {
    std::string group;
    std::vector<TableValue> values; // one per column of batchColumns, the group's first

    bool refused() const;
};

// The group's fit on threads threads. A group the model cannot fit (a row the reader refuses, a
// grain or a fit that cannot be used, the empty group of rows with no value in the column) gets
// its refusal in the row; only a failure of the machine (memory, threads) is thrown.
BatchRow fitGroup(const BatchModel& model, const ObservedGroup& group, unsigned threads = 1);

// Hears of each group fitted: its index among the groups and its row; called from the threads,
// one call at a time. An exception it throws stops the batch (the groups under way finish) and
// is passed on.
using GroupDone = std::function<void(std::size_t index, const BatchRow& row)>;

// The rows of the groups, in their order: the groups shared out over threads threads, each fitted
// on one thread, so that the rows are those of fitting the groups one after another.
std::vector<BatchRow> fitGroups(const BatchModel& model,
    const std::vector<const ObservedGroup*>& groups, unsigned threads, const GroupDone& done = {});

} // namespace ages
