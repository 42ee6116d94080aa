// The program's fast path (threads, factors computed once per node and per level, the field
// streamed in blocks with the isotherms and the history gathered on the way) against the plain
// path: every result file byte for byte, whatever the thread count, on grids with unusual
// parameters; and its pieces against their plain counterparts, bit for bit.

#include "fastfield.h"
#include "field.h"
#include "fieldstream.h"
#include "grid.h"
#include "isothermsearch.h"
#include "progressline.h"
#include "records.h"
#include "run.h"
#include "units.h"

#include "resultfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <stdlib.h>

namespace fs = std::filesystem;
using erosion::Execution;
using erosion::RunParameters;
using units::secondsPerMyr;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A temporary tree with one workspace per run (a run directory beside its output tree); runs
// the solver in-process from a workspace's run directory.
class FastPath : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "fastpath_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_startDirectory = fs::current_path();
    }
    void TearDown() override
    {
        fs::current_path(m_startDirectory);
        fs::remove_all(m_root);
    }

    // Runs p in a fresh workspace; returns its output tree.
    fs::path run(const std::string& name, const RunParameters& p, const Execution& execution)
    {
        const fs::path output = makeWorkspace(name);
        std::ostringstream err;
        EXPECT_EQ(runIn(name, p, execution, err), 0) << name;
        EXPECT_EQ(err.str(), "") << name;
        return output;
    }

    // The files (not directories) in an output tree.
    static std::vector<std::string> filesIn(const fs::path& output)
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(output))
            if (!entry.is_directory())
                files.push_back(fs::relative(entry.path(), output).string());
        return files;
    }

    // A run directory beside an output tree with the four result directories; returns the tree.
    fs::path makeWorkspace(const std::string& name)
    {
        const fs::path workspace = m_root / name;
        for (const char* dir : { "transient/geotherm", "transient/temp_time", "transient/temp_hist",
                 "default_output" })
            fs::create_directories(workspace / "output" / dir);
        fs::create_directories(workspace / "run");
        return workspace / "output";
    }

    int runIn(const std::string& name, const RunParameters& p, const Execution& execution,
        std::ostream& err)
    {
        fs::current_path(m_root / name / "run");
        const int status = erosion::runTransientErosion(p, err, execution);
        fs::current_path(m_startDirectory);
        return status;
    }

    // The plain run, then fast runs with several thread counts, each compared file by file.
    void expectFastEqualsPlain(const RunParameters& p)
    {
        const fs::path plain = run("plain", p, { .path = Execution::Path::plain });
        ASSERT_GT(readFile(plain / resultFiles[4]).size(), 0U);
        for (const int threads : { 1, 2, 3, 8 }) {
            // A progress line is asked for, but only after an hour: nothing is printed.
            const fs::path fast = run("fast" + std::to_string(threads), p,
                { .path = Execution::Path::fast,
                    .threads = threads,
                    .showProgress = true,
                    .progressDelay = std::chrono::hours(1) });
            for (const char* file : resultFiles)
                EXPECT_TRUE(readFile(fast / file) == readFile(plain / file))
                    << file << " differs with " << threads << " threads";
        }
    }

private:
    fs::path m_root;
    fs::path m_startDirectory;
};

} // namespace

TEST_F(FastPath, WritesThePlainFilesOnAnUnevenGrid)
{
    // 293 nodes, 107 m apart below a shorter top interval; a surface below freezing, a steep
    // gradient, a high diffusivity; a geotherm far beyond the time axis; isotherms at the surface
    // temperature itself and one hotter than the model ever gets.
    RunParameters p;
    p.maxDepth = 31234.5;
    p.setErosionRate(0.107);
    p.surfaceTemp = -13.7;
    p.basalGradient = 0.0613;
    p.diffusivity = 2.9e-6;
    p.geothermTime = { 0.0, 3.7 * secondsPerMyr, 250 * secondsPerMyr, 0.5 * secondsPerMyr };
    p.isothermTemp = { -13.7, 0.31, 1234.5, 1.0e5 };
    p.historyTime = 150;
    expectFastEqualsPlain(p);
}

TEST_F(FastPath, WritesThePlainFilesWhenTemperatureFallsWithDepth)
{
    // Temperatures falling with depth: the isotherm scans meet intervals they must pass over.
    RunParameters p;
    p.maxDepth = 47000;
    p.setErosionRate(0.173);
    p.surfaceTemp = 400;
    p.basalGradient = -0.02;
    p.diffusivity = 5e-7;
    p.isothermTemp = { 300, 399.99, -500, 400 };
    p.historyTime = 271;
    expectFastEqualsPlain(p);
}

TEST_F(FastPath, WritesThePlainFilesOnAGridOfTwoNodes)
{
    // Fewer nodes than threads, and one temperature everywhere: the isotherm at that temperature
    // lies on a whole interval, where the interpolation is 0 / 0.
    RunParameters p;
    p.maxDepth = 100;
    p.setErosionRate(0.5);
    p.surfaceTemp = 15;
    p.basalGradient = 0;
    p.isothermTemp = { 15, 16, 14, 0 };
    p.historyTime = 1;
    expectFastEqualsPlain(p);
}

TEST_F(FastPath, FieldFileThatCannotBeOpenedStopsTheRun)
{
    // The threads start computing while the file is being opened; when the open fails they
    // stop, and the run ends as the plain one does: the geotherms were written, but no file is
    // put in place and no temporary is left.
    RunParameters p;
    p.setErosionRate(0.1);
    const fs::path output = makeWorkspace("fast");
    fs::remove(output / "transient/temp_time");
    std::ostringstream err;
    EXPECT_EQ(runIn("fast", p, { .path = Execution::Path::fast, .threads = 3 }, err), 1);
    EXPECT_EQ(err.str(), "ERROR: Could not open file(s) for output; do the directories exist?\n");
    EXPECT_EQ(filesIn(output), std::vector<std::string> {});
}

TEST_F(FastPath, ProgressLineIsShownOnceItsDelayHasPassedAndErasedAtTheEnd)
{
    RunParameters p;
    p.setErosionRate(0.1);
    makeWorkspace("fast");
    std::ostringstream err;
    ASSERT_EQ(
        runIn("fast", p,
            { .threads = 2, .showProgress = true, .progressDelay = std::chrono::milliseconds(0) },
            err),
        0);
    const std::string line = "\rtransient_erosion: temperature field ";
    EXPECT_EQ(err.str().substr(0, line.size()), line);
    EXPECT_EQ(err.str().back(), '\r');
    EXPECT_EQ(err.str().find('\n'), std::string::npos);
}

TEST(FieldStreamDeathTest, PreconditionsAreAssertedInDebugBuilds)
{
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are compiled out of this build";
#else
    RunParameters p;
    const erosion::DepthGrid grid = erosion::buildGrid(p.maxDepth, 500.0);
    EXPECT_DEATH(erosion::FieldStream(p, grid, 0), "threads >= 1");
    p.historyTime = grid.nodeCount(); // the exposed rock would start below the base
    EXPECT_DEATH(erosion::FieldStream(p, grid, 1), "m_exposureLevel");
    p.historyTime = 2.5;
    EXPECT_DEATH(erosion::FieldStream(p, grid, 1), "historyTime");
    const erosion::DepthGrid oneNode = erosion::buildGrid(1e-300, 500.0);
    p.historyTime = 0;
    EXPECT_DEATH(erosion::FieldStream(p, oneNode, 1), "nodeCount\\(\\) >= 2");
#endif
}

TEST_F(FastPath, ExceptionOnAnyThreadFailsTheRunCleanly)
{
    // The second block written throws, on whichever thread writes it: every thread stops, the
    // run reports the failure once and puts nothing in place.
    RunParameters p;
    p.setErosionRate(0.1);
    for (const int threads : { 1, 2, 3 }) {
        const std::string name = "fast" + std::to_string(threads);
        const fs::path output = makeWorkspace(name);
        int blocks = 0;
        const auto failSecond = [&](double) {
            if (++blocks == 2)
                throw std::runtime_error("injected failure");
        };
        std::ostringstream err;
        EXPECT_EQ(runIn(name, p, { .threads = threads, .onProgress = failSecond }, err), 1);
        EXPECT_EQ(err.str(), "ERROR: the run failed: injected failure\n");
        EXPECT_EQ(filesIn(output), std::vector<std::string> {}) << threads << " threads";
    }
}

TEST(FastField, EqualsTransientTempBitForBit)
{
    // The printed files hide a last-bit difference; the values themselves must not differ.
    RunParameters p;
    p.maxDepth = 7777.7;
    p.setErosionRate(0.031);
    p.surfaceTemp = 3.3;
    p.basalGradient = 0.0417;
    p.diffusivity = 8.1e-7;
    const erosion::DepthGrid grid
        = erosion::buildGrid(p.maxDepth, erosion::nodeSpacingFor(p.erosionRate));
    const int nodeCount = grid.nodeCount();
    erosion::TemperatureField plain(nodeCount), fast(nodeCount);
    erosion::computeField(p, grid, plain);
    erosion::computeFieldRows(erosion::LevelFactors(p, nodeCount), grid, fast, 0, nodeCount);

    long differing = 0;
    for (int node = 0; node < nodeCount; ++node)
        for (int level = 0; level < nodeCount; ++level)
            differing += std::bit_cast<std::uint64_t>(plain.at(node, level))
                != std::bit_cast<std::uint64_t>(fast.at(node, level));
    EXPECT_EQ(differing, 0) << "of " << nodeCount << " x " << nodeCount << " values";
}

TEST(IsothermSearch, FindsWhatTheColumnScanFindsInAnyField)
{
    // Columns that rise and fall, repeat values, hold NaN and infinities: the first interval
    // that holds the temperature must win, as in interpl, however the rows are cut into
    // stretches searched apart and merged from the surface down.
    constexpr int nodeCount = 37;
    erosion::DepthGrid grid;
    for (int node = 0; node < nodeCount; ++node)
        grid.nodeZ.push_back(-13.0 * node - (node > 0 ? 5.5 : 0.0));
    erosion::TemperatureField field(nodeCount);
    for (int node = 0; node < nodeCount; ++node)
        for (int level = 0; level < nodeCount; ++level)
            field.at(node, level) = std::fmod(7.0 * node * (level % 5 + 1) + level, 23.0) - 3.0;
    field.at(4, 2) = std::numeric_limits<double>::quiet_NaN();
    field.at(0, 7) = std::numeric_limits<double>::infinity();
    field.at(9, 8) = -std::numeric_limits<double>::infinity();
    for (int node = 0; node < nodeCount; ++node)
        field.at(node, 11) = 5.0; // the temperature held over the whole column

    std::vector<double> column, plain;
    for (const double temperature : { 5.0, 0.5, -3.0, 19.99, 100.0 }) {
        erosion::isothermDepths(field, grid, temperature, column, plain);
        for (const int stretch : { 1, 2, 5, nodeCount }) {
            erosion::IsothermSearch merged(temperature, nodeCount);
            erosion::IsothermSearch part(temperature, nodeCount);
            for (int first = 0; first < nodeCount; first += stretch) {
                part.restart();
                // The stretch's intervals reach the first node of the next stretch.
                for (int node = first; node < std::min(first + stretch, nodeCount - 1); ++node)
                    part.searchInterval(field.row(node), field.row(node + 1), grid.nodeZ[node],
                        grid.nodeZ[node + 1]);
                merged.takeFrom(part);
            }
            const auto depths = merged.depths();
            for (int level = 0; level < nodeCount; ++level)
                EXPECT_EQ(std::bit_cast<std::uint64_t>(depths[level]),
                    std::bit_cast<std::uint64_t>(plain[level]))
                    << "isotherm " << temperature << ", level " << level << ", stretches of "
                    << stretch << ": " << depths[level] << " instead of " << plain[level];
        }
    }
}

TEST(ProgressLine, StaysSilentUntilItsDelayHasPassed)
{
    std::ostringstream out;
    {
        erosion::ProgressLine progress(out, "field", std::chrono::hours(1));
        progress.update(0.5);
    }
    EXPECT_EQ(out.str(), "");
}

TEST(ProgressLine, RewritesOneLineAndErasesItWhenDone)
{
    std::ostringstream out;
    {
        erosion::ProgressLine progress(
            out, "field", std::chrono::milliseconds(0), std::chrono::milliseconds(0));
        progress.update(0.25);
        progress.update(0.999);
    }
    EXPECT_EQ(out.str(), "\rfield 25%\rfield 99%\r         \r");
}
