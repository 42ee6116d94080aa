// The estimate of the result files' sizes and the check against the free space.

#include "diskspace.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

using erosion::FileSystemSpace;
using erosion::ResultFileSize;

TEST(DiskSpace, TableDominatesAtAboutSixBytesAValue)
{
    const erosion::RunParameters p; // temperatures 0 .. 1250 C: " 12.50", " 1250."
    for (const int nodes : { 101, 5001 }) {
        const auto sizes = erosion::resultFileSizes(p, nodes);
        ASSERT_EQ(sizes.size(), 12u);
        EXPECT_EQ(sizes[4].path, "../output/transient/temp_time/transient_Tnew.dat");
        EXPECT_EQ(sizes[4].bytes, nodes * (6.0 * nodes + 1));
        const double total = std::accumulate(sizes.begin(), sizes.end(), 0.0,
            [](double sum, const ResultFileSize& file) { return sum + file.bytes; });
        if (nodes > 1000) {
            EXPECT_LT(total - sizes[4].bytes, 0.01 * sizes[4].bytes);
        }
    }
    // Temperatures printed with an exponent widen every value.
    erosion::RunParameters hot;
    hot.surfaceTemp = 20000;
    EXPECT_EQ(erosion::resultFileSizes(hot, 101)[4].bytes, 101 * (10.0 * 101 + 1));
}

TEST(DiskSpace, FilesOnOneFileSystemAreSummedAgainstItsFreeSpace)
{
    const std::vector<ResultFileSize> files { { "out/geo/a", 1e8 }, { "out/table/b", 5e8 },
        { "out/hist/c", 1e6 } };
    // The table on a file system of its own.
    const auto probe = [](double tableFree, double restFree) {
        return [=](const std::string& directory) {
            return directory == "out/table" ? FileSystemSpace { 2, tableFree }
                                            : FileSystemSpace { 1, restFree };
        };
    };
    EXPECT_EQ(erosion::checkDiskSpace(files, probe(5e8, 1.01e8)), std::nullopt);
    EXPECT_EQ(erosion::checkDiskSpace(files, probe(4e8, 1e12)),
        "the results need 0.5 GB in out/table, 0.4 GB free");
    EXPECT_EQ(erosion::checkDiskSpace(files, probe(1e12, 1e8)),
        "the results need 0.101 GB in out/geo, 0.1 GB free");
    // One file system for all: their sum counts.
    const auto shared = [](const std::string&) { return FileSystemSpace { 1, 6e8 }; };
    EXPECT_EQ(erosion::checkDiskSpace(files, shared),
        "the results need 0.601 GB in out/table, 0.6 GB free");
    // A directory that cannot be looked at is left to the open to report.
    const auto missing = [](const std::string&) { return std::optional<FileSystemSpace> {}; };
    EXPECT_EQ(erosion::checkDiskSpace(files, missing), std::nullopt);
}
