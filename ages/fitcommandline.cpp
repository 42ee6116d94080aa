#include "fitcommandline.h"

#include "fitparametertable.h"

#include "boundsword.h"

#include <tuple>

#include <string_view>

namespace ages {

void addFitOptions(AgeCommandLine& line, FitOptions& options)
{
    for (const Model model : { Model::transient, Model::periodic }) {
        CLI::App& command = line.subcommand(model);
        command
            .add_option("--observed", options.observedFile,
                "measured ages to fit: CSV with columns sample, system, age_ma, sigma_ma and "
                "optionally elevation_m, radius_um, u_ppm, th_ppm, sm_ppm, dpar_um")
            ->type_name("FILE");
        command
            .add_option("--fit-output", options.fitOutput,
                "the misfit curve of the fit, CSV rate_mm_yr, chi2 (with --fit-base the map: "
                "rate_mm_yr, the base's column, chi2, a row per rate and base; needs --observed)")
            ->type_name("FILE");
        command
            .add_option("--residuals", options.residualsOutput,
                "the samples at the best rate against their predictions, with the grain each was "
                "predicted with (radius_um, u_ppm, th_ppm, sm_ppm, dpar_um), CSV (needs "
                "--observed)")
            ->type_name("FILE");
        command
            .add_option("--predictions", options.predictionsOutput,
                "the predicted age of every distinct grain of the measured samples (system, "
                "method, kinetics, the grain values it reads, and the elevation of a sample "
                "placed at its height) at every rate of the sweep and at the best rate, CSV "
                "rate_mm_yr, system, method, radius_um, u_ppm, th_ppm, sm_ppm, dpar_um, "
                "kinetics, age_ma, reset [, elevation_m] (with --fit-base at the best base; "
                "needs --observed)")
            ->type_name("FILE");
    }
    for (const Model model : { Model::transient, Model::periodic, Model::history }) {
        CLI::App& command = line.subcommand(model);
        command
            .add_option("--lengths", options.lengthsFile,
                "measured AFT confined-track lengths to fit with the ages: CSV with columns "
                "sample, length_um and optionally angle_deg (to the c axis: the track is projected "
                "onto it) and dpar_um, one track per row; or, with --lengths-sample, lines of "
                "length_um [angle_deg [dpar_um]]. A sample's lengths join its AFT age; a sample "
                "with lengths and no age is fitted on its lengths")
            ->type_name("FILE");
        command
            .add_option("--lengths-sample", options.lengthsSample,
                "the sample of a --lengths file in the plain form (no header, no sample column)")
            ->type_name("NAME");
    }
    for (const Model model : { Model::transient, Model::periodic, Model::history })
        line.subcommand(model).add_flag("--keep-unreset", options.keepUnreset,
            "keep measured ages older than the model's path in chi2 (by default they are left "
            "out and named: a prediction along that path can only be a lower bound of them)");
    // The geotherm of each model: the periodic steady state's basal temperature, the transient
    // half-space's basal gradient.
    for (const auto& [model, parameter] :
        { std::pair { Model::transient, &transientFitBase },
            std::pair { Model::periodic, &periodicFitBase } }) {
        line.subcommand(model)
            .add_option_function<std::string>(
                "--fit-base",
                [&options, unit = std::string(parameter->text.unit)](const std::string& word) {
                    options.fitBase = parseBoundsWord("--fit-base", word, unit.c_str());
                },
                boundsOptionHelp(*parameter) + "; needs --observed and --rates")
            ->type_name("MIN:MAX");
    }
    line.numbers().add(line.subcommand(Model::periodic), "--mean-elevation", options.meanElevationM,
        "field elevation of the model's mean surface: a sample at elevation e lies at e - M in "
        "the model, and the table's elevations are given as h(x) + M",
        "m");
    CLI::App& transient = line.subcommand(Model::transient);
    CLI::Option* meanElevation = line.numbers().add(transient, "--mean-elevation", options.meanElevationM,
        "field elevation of the model's surface, needed to place samples that carry "
        "elevation_m: a sample h = e - M above it was u t - h deep t Myr before its exposure "
        "(in the relief, at the surface temperature less -L per km of height, while that is "
        "negative)",
        "m");
    meanElevation->each([&options](const std::string&) {
        options.meanElevationGiven = true;
    });
    line.numbers().add(transient, "-L", options.lapseRateCkm,
        "lapse rate: the surface temperature of a sample above the model's surface is T0 less "
        "this per km of its height",
        "C/km");
    for (const Model model : { Model::transient, Model::path }) {
        line.subcommand(model)
            .add_option("--path-output", options.pathOutput,
                "the cooling path, CSV time_ma, temperature_c, depth_m (transient: one rate)")
            ->type_name("FILE");
    }

    // The history model's fit writes a table per history tried and a profile per change time.
    CLI::App& history = line.subcommand(Model::history);
    const std::vector<std::tuple<const char*, std::string*, const char*>> historyFiles {
        { "--observed", &options.observedFile,
            "measured data: CSV with columns sample, system, age_ma, sigma_ma and optionally "
            "elevation_m (with --mean-elevation), depth_m (below the site's surface), radius_um, "
            "u_ppm, th_ppm, sm_ppm, dpar_um; rows of system T (temperature_c, sigma_c at depth_m) "
            "and Q (heat_flow_mw_m2, sigma_mw_m2) are data of the column today" },
        { "--geotherm-output", &options.geothermOutput,
            "the column today under the best history (--erosion's without a fit), CSV depth_m, "
            "temperature_c" },
        { "--path-output", &options.pathOutput,
            "the cooling path of --erosion's history, CSV time_ma, temperature_c, depth_m" },
        { "--fit-output", &options.fitOutput,
            "every history the fit tried: its phases, chi2 and whether it lies in the range, CSV "
            "(needs --fit-phases)" },
        { "--profile-output", &options.profileOutput,
            "chi2 minimised over the other parameters against each change time, CSV (needs "
            "--fit-phases)" },
        { "--posterior", &options.posteriorOutput,
            "the ensemble sampler's histories after the burn-in, CSV (needs --fit-phases)" },
        { "--residuals", &options.residualsOutput,
            "the samples against their predictions at the best history (or --erosion's without "
            "a fit), CSV (needs --observed)" },
    };
    for (const auto& [name, target, description] : historyFiles)
        history.add_option(name, *target, description)->type_name("FILE");
    history
        .add_option("--elevation-output", options.elevationOutput,
            "the ages the best history (--erosion's without a fit) predicts along the samples' "
            "elevations, 41 from the lowest to the highest, for each distinct system, method and "
            "grain of the samples, CSV system, method, radius_um, u_ppm, th_ppm, sm_ppm, dpar_um, "
            "elevation_m, age_ma, reset (needs --observed with elevation_m)")
        ->type_name("FILE");

    // The terrain model's: the history's, but for the one path (each sample has its own).
    CLI::App& terrain = line.subcommand(Model::terrain);
    for (const auto& [name, target, description] : historyFiles) {
        if (std::string_view(name) == "--path-output")
            continue;
        const std::string text = std::string_view(name) == "--observed"
            ? "measured ages of samples where they were taken: CSV with columns sample, system, "
              "age_ma, sigma_ma, x_m and y_m (in the DEM's coordinate system) or lon and lat, "
              "and optionally elevation_m (the model's surface when empty), radius_um, u_ppm, "
              "th_ppm, sm_ppm, dpar_um"
            : description;
        terrain.add_option(name, *target, text)->type_name("FILE");
    }
}

} // namespace ages
