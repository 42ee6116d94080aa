#include "fitoptions.h"

#include "ratefitbase.h"
#include "textformat.h"

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <vector>

namespace ages {

namespace {

std::filesystem::path normalised(const std::string& file)
{
    std::error_code ignored;
    return std::filesystem::absolute(file, ignored).lexically_normal();
}

} // namespace

std::optional<std::string> outputFileError(const std::string& option, const std::string& file)
{
    if (file.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path path(file);
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        return option + " " + file + " is a directory";
    }
    const auto parent = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(parent, ignored)) {
        return option + " " + file + ": no directory " + parent.string() + " to write it in";
    }
    return std::nullopt;
}

std::optional<std::string> fitOptionsError(const AgeRequest& request, const FitOptions& options)
{
    if (options.lengthsSample && options.lengthsFile.empty()) {
        return "--lengths-sample names the sample of a --lengths FILE in the plain form: add "
               "--lengths FILE";
    }
    if (!options.fits()) {
        if (!options.fitOutput.empty()) {
            return "--fit-output needs measured ages to fit (--observed FILE)";
        }
        if (!options.residualsOutput.empty()) {
            return "--residuals needs measured ages to compare with (--observed FILE)";
        }
    }
    if (!options.predictionsOutput.empty() && options.observedFile.empty()) {
        return "--predictions lists the measured grains' ages along the sweep: add --observed FILE";
    }
    if (!options.residualsOutput.empty() && options.observedFile.empty()) {
        return "--residuals lists measured ages against their predictions: add --observed FILE";
    }
    // The terrain model's fit is the history model's, with another forward model.
    if (request.model == Model::history || request.model == Model::terrain) {
        if (request.history.fitPhases == 0 && !options.observedFile.empty()
            && !options.fitOutput.empty()) {
            return "--fit-output lists the histories a fit tries: add --fit-phases N";
        }
        for (const auto& [option, file] : { std::pair { "--profile-output", options.profileOutput },
                 std::pair { "--posterior", options.posteriorOutput } }) {
            if (!file.empty() && request.history.fitPhases == 0) {
                return std::string(option) + " needs a fit: add --fit-phases N and --observed FILE";
            }
        }
        if (request.history.fitPhases != 0 && !options.fits()) {
            return "--fit-phases needs measured ages to fit (--observed FILE)";
        }
        if (request.history.fitPhases == 0 && !options.lengthsFile.empty()
            && options.observedFile.empty()) {
            return "--lengths without --observed is a fit of the lengths alone: add --fit-phases N";
        }
    }
    if (options.fitBase && (request.model == Model::transient || request.model == Model::periodic)) {
        if (options.observedFile.empty())
            return "--fit-base fits the geotherm to measured ages: add --observed FILE";
        if (!request.sweep)
            return "--fit-base fits the geotherm with the rate: give --rates START:STOP:STEP "
                   "instead of -r";
        if (const std::string error = rateFitBaseError(request, *options.fitBase); !error.empty())
            return "--fit-base " + textformat::number(options.fitBase->low) + ":"
                + textformat::number(options.fitBase->high) + ": " + error;
    }
    // With measured lengths the file holds their samples' distributions at the best fit, which
    // need no AFT row in the table.
    if (!request.lengthsOutputFile.empty() && options.lengthsFile.empty()) {
        const auto& systems = request.settings.systems;
        if (std::find(systems.begin(), systems.end(), thermochron::System::AFT) == systems.end()
            || request.settings.methods == MethodChoice::dodson) {
            return "--lengths-output writes the track lengths of the AFT ages by annealing: add "
                   "AFT to --systems and give --method kinetic or all";
        }
    }
    if (!options.elevationOutput.empty() && options.observedFile.empty()) {
        return "--elevation-output draws the ages along the samples' elevations: add --observed "
               "FILE";
    }
    if (!options.pathOutput.empty() && request.model == Model::transient && request.sweep) {
        return "--path-output writes the path of one rate: give -r instead of --rates";
    }
    for (const auto& [option, file] : { std::pair { "--fit-output", options.fitOutput },
             std::pair { "--lengths-output", request.lengthsOutputFile },
             std::pair { "--residuals", options.residualsOutput },
             std::pair { "--predictions", options.predictionsOutput },
             std::pair { "--path-output", options.pathOutput },
             std::pair { "--profile-output", options.profileOutput },
             std::pair { "--posterior", options.posteriorOutput },
             std::pair { "--age-map", request.terrain.ageMapFile },
             std::pair { "--field", request.terrain.fieldFile },
             std::pair { "--geotherm-output", options.geothermOutput },
             std::pair { "--elevation-output", options.elevationOutput } }) {
        if (auto error = outputFileError(option, file)) {
            return error;
        }
    }
    // Two outputs into one file would leave only the last, and an output over an input would
    // replace the measurements or the path it was computed from; say so before any work.
    const std::vector<std::pair<std::string, std::string>> files { { "--output",
                                                                       request.outputFile },
        { "--lengths-output", request.lengthsOutputFile }, { "--fit-output", options.fitOutput },
        { "--residuals", options.residualsOutput },
        { "--predictions", options.predictionsOutput }, { "--path-output", options.pathOutput },
        { "--profile-output", options.profileOutput }, { "--posterior", options.posteriorOutput },
        { "--age-map", request.terrain.ageMapFile }, { "--field", request.terrain.fieldFile },
        { "--geotherm-output", options.geothermOutput },
        { "--elevation-output", options.elevationOutput }
    };
    const std::vector<std::string> inputs { options.observedFile, options.lengthsFile,
        request.model == Model::path ? request.pathFile : std::string(),
        request.model == Model::terrain ? request.terrain.demFile : std::string(),
        request.model == Model::terrain ? request.terrain.upliftMapFile : std::string() };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto& [option, file] = files[i];
        if (file.empty()) {
            continue;
        }
        for (const auto& input : inputs) {
            if (!input.empty() && normalised(input) == normalised(file)) {
                return option + " " + file + " would replace an input of this run";
            }
        }
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            if (!files[j].second.empty() && normalised(file) == normalised(files[j].second)) {
                return option + " and " + files[j].first + " name the same file " + file;
            }
        }
    }
    return std::nullopt;
}

} // namespace ages
