#include "batchcommandline.h"

#include "agecommandline.h"
#include "batchrun.h"
#include "fitcommandline.h"
#include "inputerror.h"
#include "terrainrequest.h"

#include <CLI/CLI.hpp>

#include <string_view>

namespace ages {

namespace {

// The models a batch fits, by the word of --model.
const std::vector<std::pair<std::string, Model>> batchModels {
    { "transient", Model::transient },
    { "periodic", Model::periodic },
    { "history", Model::history },
    { "terrain", Model::terrain },
};

Model modelNamed(const std::string& word)
{
    for (const auto& [name, model] : batchModels) {
        if (name == word)
            return model;
    }
    throw InputError(
        "--model must be transient, periodic, history or terrain, got '" + word + "'");
}

// Every option of the model's command line but the measured file, the output (the batch's own)
// and the help, name=value, with
// the values given or the defaults: what a group's result was computed with.
std::string everyOption(const CLI::App& command)
{
    std::string text;
    for (const CLI::Option* option : command.get_options()) {
        const std::string name = option->get_name();
        if (name == "--help" || name == "--observed" || name == "--output")
            continue;
        std::string value;
        if (option->count() > 0) {
            for (const std::string& result : option->results())
                value += (value.empty() ? "" : " ") + result;
        } else {
            value = option->get_default_str();
        }
        text += (text.empty() ? "" : " ") + name + "=" + value;
    }
    return text;
}

} // namespace

bool isBatchCommand(const int argc, const char* const argv[])
{
    return argc > 1 && std::string_view(argv[1]) == "batch";
}

int runBatchCommand(const int argc, const char* const argv[], std::ostream& out, std::ostream& err,
    const bool showProgress)
{
    CLI::App app("Every group of rows of a file of measured ages that share a column's value (a "
                 "site, a sample) fitted on its own, with one model and its options, into one "
                 "table: one row per group. The model's own options follow, as cooling_ages MODEL "
                 "--help lists them (not its file outputs).",
        "cooling_ages batch");
    app.allow_extras();
    BatchRequest request;
    MergeRequest merge;
    std::string modelWord = "transient";
    std::string shardWord;
    app.add_option("--observed", request.observedFile,
           "measured ages of many groups: CSV with the columns cooling_ages MODEL --observed "
           "reads and the column --by")
        ->type_name("FILE");
    app.add_option("--by", request.byColumn,
           "the column whose value names a row's group (any case): site, sample, ...")
        ->type_name("COLUMN");
    app.add_option("--model", modelWord,
           "the model every group is fitted with: transient, periodic, history or terrain (its "
           "DEM read once, each group's history fit its own 3D runs)")
        ->type_name("MODEL")
        ->capture_default_str();
    app.add_option("--shard", shardWord,
           "fit only the I-th of N shards, 1 <= I <= N: the groups with 1 + FNV-1a-64(name) mod "
           "N = I")
        ->type_name("I/N");
    app.add_option("--results", request.resultsDirectory,
           "a directory that keeps each finished group as a file (with its inputs' hash, the "
           "version and every option); a rerun skips the groups done with the same inputs")
        ->type_name("DIR");
    app.add_option("--output", request.outputFile,
           "the table, replaced only when complete (default: standard output)")
        ->type_name("FILE");
    app.add_option("--threads", request.threads, "groups fitted at once (default: one per core)")
        ->type_name("N");
    CLI::Option* mergeOption = app.add_option("--merge", merge.files,
                                      "join the tables of shards (with --observed and --by, to "
                                      "name the groups missing) instead of fitting")
                                   ->type_name("FILES")
                                   ->expected(1, -1);
    // An option given twice takes its last value, as the suite's other options do.
    for (CLI::Option* option : app.get_options()) {
        if (option != mergeOption && option->get_name() != "--help")
            option->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }
    app.footer("The table: group, ages, status (fitted or refused), the model's best rate or "
               "history and ranges, chi2, reduced chi2, the warnings as columns, warnings, "
               "refusal (docs/cooling_ages.md). A refused group leaves the others going: the exit "
               "status is 1 only when every group is refused.");
    try {
        app.parse(argc - 1, argv + 1);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        throw InputError(std::string(error.what()) + " (see cooling_ages batch --help)");
    }
    const std::vector<std::string> modelWords = app.remaining();

    if (mergeOption->count() > 0) {
        if (!modelWords.empty())
            throw InputError("--merge joins tables and fits nothing: " + modelWords.front()
                + " is not an option of it");
        merge.observedFile = request.observedFile;
        merge.byColumn = request.byColumn;
        merge.outputFile = request.outputFile;
        runBatchMerge(merge, out, err);
        return 0;
    }
    if (request.observedFile.empty() || request.byColumn.empty())
        throw InputError("a batch needs --observed FILE and --by COLUMN (see cooling_ages batch "
                         "--help)");
    if (request.threads == 0)
        throw InputError("--threads must be at least 1");
    const Model model = modelNamed(modelWord);
    if (!shardWord.empty())
        request.shard = parseShard(shardWord);

    // The model's command line, as if the user had typed cooling_ages MODEL --observed FILE ...
    std::vector<std::string> words { "cooling_ages", modelWord, "--observed",
        request.observedFile };
    words.insert(words.end(), modelWords.begin(), modelWords.end());
    std::vector<const char*> modelArgv;
    for (const std::string& word : words)
        modelArgv.push_back(word.c_str());
    AgeCommandLine line;
    FitOptions fitOptions;
    addFitOptions(line, fitOptions);
    if (line.parse(static_cast<int>(modelArgv.size()), modelArgv.data(), out)
        == AgeCommandLine::Outcome::finish)
        return 0;
    BatchModel batchModel { line.request(), fitOptions, nullptr };
    prepareBatchModel(batchModel);

    // The terrain model's rasters by their content: a DEM replaced under the same name refits.
    std::string options = "--by=" + request.byColumn + " --model=" + modelWord + " "
        + everyOption(line.subcommand(model));
    if (model == Model::terrain)
        options += " " + terrainRastersHash(batchModel.request.terrain);
    request.provenance = { versionString, options, request.observedFile };
    runBatch(request, batchModel, out, err, showProgress);
    return 0;
}

} // namespace ages
