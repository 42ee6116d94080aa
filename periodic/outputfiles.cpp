#include "outputfiles.h"

#include "numberword.h"
#include "replacementgroup.h"

#include <cstring>

namespace periodic {

namespace {

const char* const missingDirectoryMessage
    = "Could not open file(s) for output; do the directories exist?";

} // namespace

std::string pairText(const Series& series)
{
    std::string text;
    for (const WordPair& pair : series) {
        if (!text.empty()) {
            text += '\n';
        }
        text += numberWord(pair.first);
        text += ' ';
        text += numberWord(pair.second);
    }
    return text;
}

std::vector<std::filesystem::path> outputDirectories(const std::filesystem::path& outputRoot)
{
    return { outputRoot / "periodic" / "isotherm", outputRoot / "periodic" / "temp_hist" };
}

void requireDirectories(const std::vector<std::filesystem::path>& directories)
{
    std::string missing;
    for (const auto& directory : directories) {
        std::error_code error;
        if (!std::filesystem::is_directory(directory, error)) {
            missing += (missing.empty() ? " (missing: " : ", ") + directory.string();
        }
    }
    if (!missing.empty()) {
        throw OutputError(missingDirectoryMessage + missing + ")");
    }
}

std::vector<OutputFile> periodicFiles(
    const PeriodicResults& results, const std::filesystem::path& outputRoot)
{
    const auto directories = outputDirectories(outputRoot);
    const auto& isotherm = directories[0];
    const auto& history = directories[1];
    return {
        { isotherm / "periodic_topoY.dat", results.topography },
        { isotherm / "periodic_geo1.dat", results.isotherms[0] },
        { isotherm / "periodic_geo2.dat", results.isotherms[1] },
        { isotherm / "periodic_geo3.dat", results.isotherms[2] },
        { isotherm / "periodic_geo4.dat", results.isotherms[3] },
        { history / "periodic_ridge.dat", results.ridge },
        { history / "periodic_midValley.dat", results.midValley },
        { history / "periodic_valley.dat", results.valley },
    };
}

void writeFiles(const std::vector<OutputFile>& files)
{
    std::vector<std::filesystem::path> parents;
    for (const auto& file : files) {
        parents.push_back(file.path.parent_path().empty() ? "." : file.path.parent_path());
    }
    requireDirectories(parents);

    // Whatever is thrown, the group removes the temporaries written so far.
    wholefile::ReplacementGroup group;
    for (const auto& file : files) {
        const auto failure = group.write(
            file.path.string(), [&](std::ostream& out) { out << pairText(file.series); });
        if (failure) {
            throw OutputError("Could not write " + file.path.string());
        }
    }
    if (const auto failure = group.commit()) {
        throw OutputError(
            "Could not replace " + failure->path + ": " + std::strerror(failure->error));
    }
}

} // namespace periodic
