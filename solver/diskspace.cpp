#include "diskspace.h"

#include "numberformat.h"
#include "replacementgroup.h"
#include "resultpaths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace erosion {

namespace {

constexpr double bytesPerGigabyte = 1e9;

// The narrowest typical value with its space: " 12.50".
constexpr double typicalValueWidth = 6;

double printedWidth(double value)
{
    char text[maxNumberLength];
    return static_cast<double>(formatNumber(value, text) - text);
}

// The digits of a time level.
double levelWidth(int nodeCount)
{
    return std::floor(std::log10(std::max(nodeCount, 1))) + 1;
}

// "0.151", "12.3", "1500": three figures, no exponent.
std::string gigabytes(double bytes)
{
    const double value = bytes / bytesPerGigabyte;
    char text[32];
    std::snprintf(text, sizeof text, value >= 100 ? "%.0f" : "%.3g", value);
    return text;
}

} // namespace

std::vector<ResultFileSize> resultFileSizes(const RunParameters& p, int nodeCount)
{
    namespace paths = resultpath::transient;
    const double nodes = nodeCount;
    // Temperatures lie between the surface's and the base's initial ones; depths down to -maxDepth.
    const double value = std::max({ typicalValueWidth, 1 + printedWidth(p.surfaceTemp),
        1 + printedWidth(p.surfaceTemp + p.basalGradient * p.maxDepth) });
    const double depth = 1 + printedWidth(-p.maxDepth);
    const double level = 1 + levelWidth(nodeCount);
    const double historyLevels = std::max(p.historyTime, 0.0) + 1;

    std::vector<ResultFileSize> sizes;
    for (const char* path : paths::geotherm)
        sizes.push_back({ path, nodes * (value + depth) });
    sizes.push_back({ paths::field, nodes * (nodes * value + 1) });
    for (const char* path : paths::isotherm)
        sizes.push_back({ path, nodes * (level + depth) });
    sizes.push_back({ paths::historyPairs, historyLevels * (level + value) });
    sizes.push_back({ paths::historyTimes, historyLevels * value });
    sizes.push_back({ paths::historyTemps, historyLevels * value });
    return sizes;
}

std::optional<FileSystemSpace> probeFileSystem(const std::string& directory)
{
    struct stat info { };
    struct statvfs space { };
    if (::stat(directory.c_str(), &info) != 0 || ::statvfs(directory.c_str(), &space) != 0)
        return std::nullopt;
    return FileSystemSpace { static_cast<std::uint64_t>(info.st_dev),
        static_cast<double>(space.f_bavail) * static_cast<double>(space.f_frsize) };
}

std::optional<std::string> checkDiskSpace(
    const std::vector<ResultFileSize>& files, const FileSystemProbe& probe)
{
    struct Demand {
        double freeBytes = 0;
        double neededBytes = 0;
        std::map<std::string, double> byDirectory;
    };
    std::map<std::uint64_t, Demand> demands; // by device, in a stable order
    for (const ResultFileSize& file : files) {
        const wholefile::ReplacementTarget target = wholefile::replacementTargetOf(file.path);
        if (target.inPlace)
            continue;
        // Where the file really goes: a link may lead elsewhere.
        const std::string directory = std::filesystem::path(target.path).parent_path().string();
        const auto space = probe(directory);
        if (!space)
            continue;
        Demand& demand = demands[space->device];
        demand.freeBytes = space->freeBytes;
        demand.neededBytes += file.bytes;
        demand.byDirectory[directory] += file.bytes;
    }
    for (const auto& [device, demand] : demands) {
        if (demand.neededBytes <= demand.freeBytes)
            continue;
        const auto largest = std::max_element(demand.byDirectory.begin(), demand.byDirectory.end(),
            [](const auto& a, const auto& b) { return a.second < b.second; });
        return "the results need " + gigabytes(demand.neededBytes) + " GB in " + largest->first
            + ", " + gigabytes(demand.freeBytes) + " GB free";
    }
    return std::nullopt;
}

} // namespace erosion
