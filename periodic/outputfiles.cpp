#include "outputfiles.h"

#include "numberword.h"

#include <fstream>
#include <system_error>

#include <unistd.h>

namespace periodic {

namespace {

const char* const missingDirectoryMessage
    = "Could not open file(s) for output; do the directories exist?";

// A name in the same directory, so that the final rename cannot cross file systems; the process
// id keeps two runs in one tree from sharing it.
std::filesystem::path temporaryPath(const std::filesystem::path& path)
{
    std::filesystem::path temporary = path;
    temporary += ".partial-" + std::to_string(::getpid());
    return temporary;
}

void removeQuietly(const std::vector<std::filesystem::path>& paths)
{
    for (const auto& path : paths) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
}

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

    std::vector<std::filesystem::path> written;
    for (const auto& file : files) {
        const auto temporary = temporaryPath(file.path);
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        if (!stream.is_open()) {
            // Nothing was created at that path, so it is not ours to remove.
            removeQuietly(written);
            throw OutputError("Could not write " + file.path.string());
        }
        written.push_back(temporary);
        const std::string text = pairText(file.series);
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        stream.close();
        if (!stream) {
            removeQuietly(written);
            throw OutputError("Could not write " + file.path.string());
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code error;
        std::filesystem::rename(written[i], files[i].path, error);
        if (error) {
            removeQuietly(written);
            throw OutputError(
                "Could not replace " + files[i].path.string() + ": " + error.message());
        }
    }
}

} // namespace periodic
