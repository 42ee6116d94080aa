// The memory a run's path needs and the limits of the process, read from the system's texts.

#include "fieldstream.h"
#include "memory.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

using erosion::MemoryNeed;
using erosion::MemoryReadings;

namespace {

constexpr double mebibyte = 1024.0 * 1024.0;

// A file system of control-group files.
erosion::SystemFileReader filesOf(std::map<std::string, std::string> files)
{
    return [files = std::move(files)](const std::string& path) -> std::optional<std::string> {
        const auto found = files.find(path);
        if (found == files.end())
            return std::nullopt;
        return found->second;
    };
}

} // namespace

TEST(MemoryReadings, ParsedFromTheKernelsTexts)
{
    const std::string meminfo = "MemTotal:       24684032 kB\nMemFree:        22795136 kB\n"
                                "MemAvailable:   23249920 kB\nBuffers:          123 kB\n";
    EXPECT_EQ(erosion::parseMemAvailable(meminfo), 23249920.0 * 1024);
    EXPECT_EQ(erosion::parseMemAvailable("MemTotal: 1 kB\n"), std::nullopt);
    const std::string status
        = "Name:\ttransient_eros\nVmPeak:\t   20000 kB\nVmSize:\t   12288 kB\n";
    EXPECT_EQ(erosion::parseVmSize(status), 12288.0 * 1024);
}

TEST(MemoryReadings, CgroupAllowanceIsTheLeastAlongTheProcesssOwnGroups)
{
    const struct {
        const char* name;
        std::string procSelfCgroup;
        std::map<std::string, std::string> files;
        std::optional<double> remaining;
    } cases[] = {
        { "v2: the parent's limit binds, less usage net of inactive page cache", "0::/a/b\n",
            { { "/sys/fs/cgroup/a/b/memory.max", "max\n" },
                { "/sys/fs/cgroup/a/b/memory.current", "400\n" },
                { "/sys/fs/cgroup/a/memory.max", "1000\n" },
                { "/sys/fs/cgroup/a/memory.current", "600\n" },
                { "/sys/fs/cgroup/a/memory.stat", "anon 100\ninactive_file 100\nactive_file 5\n" },
                { "/sys/fs/cgroup/memory.max", "5000\n" } },
            500.0 },
        { "v1: the memory hierarchy's line, not the root's, its huge value meaning no limit",
            "5:cpu,cpuacct:/\n4:memory,hugetlb:/docker/x\n0::/\n",
            { { "/sys/fs/cgroup/memory/docker/x/memory.limit_in_bytes", "9223372036854771712\n" },
                { "/sys/fs/cgroup/memory/docker/memory.limit_in_bytes", "2000\n" },
                { "/sys/fs/cgroup/memory/docker/memory.usage_in_bytes", "1500\n" },
                { "/sys/fs/cgroup/memory/docker/memory.stat", "total_inactive_file 300\n" },
                { "/sys/fs/cgroup/memory.max", "10\n" } },
            800.0 },
        { "no group sets a limit", "0::/user.slice\n",
            { { "/sys/fs/cgroup/user.slice/memory.max", "max\n" } }, std::nullopt },
        { "usage above the limit leaves nothing", "0::/\n",
            { { "/sys/fs/cgroup/memory.max", "100\n" },
                { "/sys/fs/cgroup/memory.current", "200\n" } },
            0.0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(erosion::cgroupRemainingBytes(c.procSelfCgroup, filesOf(c.files)), c.remaining)
            << c.name;
}

TEST(MemoryReadings, NeedFitsUnderTheLeastLimit)
{
    const MemoryNeed need { 100 * mebibyte, 200 * mebibyte };
    EXPECT_TRUE(erosion::fitsInMemory(need, {}));
    EXPECT_TRUE(erosion::fitsInMemory(need, { 1000 * mebibyte, 112 * mebibyte, 200 * mebibyte }));
    EXPECT_FALSE(erosion::fitsInMemory(need, { 1000 * mebibyte, 110 * mebibyte, std::nullopt }));
    EXPECT_FALSE(erosion::fitsInMemory(need, { std::nullopt, std::nullopt, 199 * mebibyte }));
}

TEST(MemoryNeed, StreamedFieldHoldsFarLessThanTheWholeField)
{
    // The stream's buffers stay within a ring budget however fine the grid; the plain field
    // grows with the square of the node count.
    for (const int nodes : { 5001, 50001 }) {
        const double streamed = erosion::FieldStream::workingBytes(nodes, 8);
        EXPECT_LT(streamed, 128 * mebibyte) << nodes;
        EXPECT_GT(streamed, 8.0 * 8 * nodes) << nodes; // at least each thread's rows
        EXPECT_LT(streamed, erosion::runMemoryBytes(nodes) / 4) << nodes;
    }
}
