#pragma once
// Whether the results of a run fit on the disk, checked before any file is touched: a run that
// would fill the file system half-way through a 150 MB table is refused at once instead.
//
// The previous run's files are replaced only once the new ones are complete, so the new files
// need their whole size in free space beside the old ones.

#include "runparameters.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace erosion {

// The estimated size of one result file.
struct ResultFileSize {
    std::string path;
    double bytes = 0;
};

// The twelve files' sizes for a grid of nodeCount nodes. The table holds nodeCount^2 values of
// the width of its widest typical value (at least " 12.50", 6 bytes); the other files are pairs
// and lines of such values. An estimate, not a bound: exotic values print wider.
std::vector<ResultFileSize> resultFileSizes(const RunParameters& p, int nodeCount);

// A file system as the check sees it: which one (device number) and its space free to us.
struct FileSystemSpace {
    std::uint64_t device = 0;
    double freeBytes = 0;
};

// The file system that holds directory; empty when it cannot be told (a missing directory:
// the run then stops at the open with its own message).
using FileSystemProbe = std::function<std::optional<FileSystemSpace>(const std::string& directory)>;
std::optional<FileSystemSpace> probeFileSystem(const std::string& directory);

// The message refusing the run when the files on some file system exceed its free space:
// "the results need N GB in DIR, M GB free" (DIR the directory with the largest share
// there), or nothing. A result path that is a device (or a link to one) takes no space.
std::optional<std::string> checkDiskSpace(
    const std::vector<ResultFileSize>& files, const FileSystemProbe& probe = probeFileSystem);

} // namespace erosion
