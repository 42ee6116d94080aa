#pragma once
// The eight files of periodic_topography and how they are written: each is a sequence of word
// pairs, one pair per line, with no white space after the last word; either every file is
// written completely or none is touched.

#include "results.h"
#include "wordpair.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace periodic {

struct OutputFile {
    std::filesystem::path path;
    Series series;
};

// A failure to write the output; what() is the message without the "ERROR: " prefix.
class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "x1 y1\nx2 y2...\nxn yn" without a final line break; NaN second values as the word NaN.
std::string pairText(const Series& series);

// The directories the files go to: outputRoot/periodic/isotherm and outputRoot/periodic/temp_hist.
std::vector<std::filesystem::path> outputDirectories(const std::filesystem::path& outputRoot);

// Throws OutputError naming every one of directories that does not exist.
void requireDirectories(const std::vector<std::filesystem::path>& directories);

// The five isotherm-viewer files (topography, isotherms 1 to 4) and the three history files
// (ridge, mid-slope, valley) under outputRoot.
std::vector<OutputFile> periodicFiles(
    const PeriodicResults& results, const std::filesystem::path& outputRoot);

// Replaces the files together (wholefile::ReplacementGroup): each is written to a temporary
// beside it, and only when all of them are complete are they renamed over their final names. On
// any failure the temporaries are removed, the existing files are left as they were, and
// OutputError is thrown.
void writeFiles(const std::vector<OutputFile>& files);

} // namespace periodic
