// The built transient_erosion program run in a temporary tree laid out as its users lay it out:
// a run directory beside an output tree with the four result directories.

#include "childprocess.h"
#include "resultfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string program = TRANSIENT_EROSION_PATH;

// A run that has not ended after this long is taken for a hang.
constexpr auto runTimeLimit = std::chrono::seconds(30);

const std::string openError
    = "ERROR: Could not open file(s) for output; do the directories exist?\n";

struct Finished {
    int status = -1; // the exit status, -1 when ended by a signal
    int signal = 0; // the signal that ended it
    std::string out;
    std::string err;
    double seconds = 0; // wall-clock time from start to end
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

std::vector<std::string> lines(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

void expectStartsWith(const std::string& text, const std::string& prefix)
{
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
}

class TransientErosion : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern
            = (fs::temp_directory_path() / "transient_erosion_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        for (const char* dir : { "transient/geotherm", "transient/temp_time", "transient/temp_hist",
                 "default_output" })
            fs::create_directories(m_root / "output" / dir);
        fs::create_directories(m_root / "run");
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path output(const std::string& relative) const { return m_root / "output" / relative; }
    std::string result(const std::string& relative) const { return readFile(output(relative)); }

    // Runs the program in the run directory with argv[0] = its path.
    Finished run(const std::vector<std::string>& args) const { return finish(start(args)); }

    // Starts the program in the run directory with argv[0] = its path.
    pid_t start(const std::vector<std::string>& args) const
    {
        const pid_t child
            = startChild(program, args, m_root / "run", m_root / "stdout", m_root / "stderr");
        m_started = std::chrono::steady_clock::now();
        return child;
    }

    // Waits for the program started last to end.
    Finished finish(pid_t child) const
    {
        Finished finished;
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return finished;
        }
        const std::optional<int> ended = waitForChild(child, runTimeLimit);
        if (!ended) {
            ADD_FAILURE() << "transient_erosion did not end within the time limit";
            return finished;
        }
        const int status = *ended;
        finished.seconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
        finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        finished.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        finished.out = readFile(m_root / "stdout");
        finished.err = readFile(m_root / "stderr");
        return finished;
    }

    // Puts a sentinel text into every result file, to see afterwards that none was touched.
    void fillResultsWithSentinels() const
    {
        for (const char* file : resultFiles)
            std::ofstream(output(file)) << "previous run";
    }
    void expectResultsUntouched(const std::string& context) const
    {
        for (const char* file : resultFiles)
            EXPECT_EQ(result(file), "previous run") << file << " after " << context;
    }
    void expectNoResultFiles(const std::string& context) const
    {
        for (const char* file : resultFiles)
            EXPECT_FALSE(fs::exists(output(file))) << file << " after " << context;
    }
    // Every file in the output tree (links included), with its contents: a run that fails must
    // leave this as it was, temporaries included.
    std::map<std::string, std::string> outputTree() const
    {
        std::map<std::string, std::string> tree;
        for (const auto& entry : fs::recursive_directory_iterator(m_root / "output")) {
            const std::string name = fs::relative(entry.path(), m_root / "output").string();
            if (entry.is_symlink())
                tree[name] = "-> " + fs::read_symlink(entry.path()).string();
            else if (entry.is_regular_file())
                tree[name] = readFile(entry.path());
        }
        return tree;
    }

    fs::path m_root;
    mutable std::chrono::steady_clock::time_point m_started;
};

const std::string usageText = "1D Transient Erosion Calculation\n"
                              "Usage: "
    + program
    + " [OPTION]... [ARG]...\n\n"
      "OPTIONS:\n"
      "-T   surface temperature (celcius)\n"
      "-B   basal temperature gradient (basal flux/thermal cond.)\n"
      "-z   maximum depth (meters)\n"
      "-a   thermal diffusivity (k/rho*Cp)\n"
      "-r   erosion rate (mm/yr)\n"
      "-o   temperature history (million years output time)\n\n"
      "-d   geotherm 1 (million years)\n"
      "-e   geotherm 2 (million years)\n"
      "-f   geotherm 3 (million years)\n"
      "-g   geotherm 4 (million years)\n\n"
      "-i   isotherm 1 (celcius)\n"
      "-j   isotherm 2 (celcius)\n"
      "-k   isotherm 3 (celcius)\n"
      "-l   isotherm 4 (celcius)\n\n"
      "-h   display this help menu\n"
      "-v   display the version information\n";

} // namespace

TEST_F(TransientErosion, HelpPrintsTheUsageTextAndComputesNothing)
{
    for (const auto& args : { std::vector<std::string> { "-h" }, { "-hz", "5" }, { "-h", "-x" },
             { "-T", "3", "-h" } }) {
        const auto finished = run(args);
        EXPECT_EQ(finished.status, 0) << args[0];
        EXPECT_EQ(finished.out, usageText) << args[0];
        EXPECT_EQ(finished.err, "") << args[0];
    }
    expectNoResultFiles("-h");
}

TEST_F(TransientErosion, VersionPrintsTheVersionLine)
{
    const auto finished = run({ "-v" });
    EXPECT_EQ(finished.status, 0);
    EXPECT_EQ(finished.out, "1D Transient Erosion Calculation - v1.0\n");
    EXPECT_EQ(finished.err, "");
    expectNoResultFiles("-v");
}

TEST_F(TransientErosion, OptionErrorsAreReportedWithStatusOne)
{
    const std::string hint = "Try `" + program + " -h' for more information.\n";
    const struct {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        { { "-x" }, "Error in argument 1, char 2: option not found x\n" },
        { { "-x", "-h" }, "Error in argument 1, char 2: option not found x\n" },
        { { "-z" }, "Error in argument 1, char 2: no argument for option z\n" },
        { { "-T", "5", "-Bz", "1", "-o" },
            "Error in argument 5, char 2: no argument for option o\n" },
        { { "-:" }, "Error in argument 1, char 2: : in flags\n" },
    };
    for (const auto& c : cases) {
        const auto finished = run(c.args);
        EXPECT_EQ(finished.status, 1) << c.line;
        EXPECT_EQ(finished.out, "") << c.line;
        EXPECT_EQ(finished.err, c.line + hint);
    }
    expectNoResultFiles("option errors");
}

TEST_F(TransientErosion, DefaultRunWritesTheTwelveFiles)
{
    fillResultsWithSentinels(); // each file is truncated, not appended to
    const auto finished = run({});
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, "");
    EXPECT_EQ(finished.err, "");

    for (int k = 0; k < 4; ++k) {
        const std::string text = result(resultFiles[k]);
        ASSERT_FALSE(text.empty()) << resultFiles[k];
        EXPECT_EQ(text.front(), ' ') << resultFiles[k];
        EXPECT_EQ(text.find('\n'), std::string::npos) << resultFiles[k];
        EXPECT_NE(text.back(), ' ') << resultFiles[k];
        const auto values = words(text);
        ASSERT_EQ(values.size(), 202u) << resultFiles[k];
        EXPECT_EQ(values[201], "-5.000e+04") << resultFiles[k];
    }
    // Time 0 is the initial geotherm, the surface included.
    expectStartsWith(result(resultFiles[0]), " 0.000 0.000 12.50 -500.0 25.00 -1000. 37.50");
    const auto atFiveMyr = words(result(resultFiles[1]));
    EXPECT_EQ(atFiveMyr[2], "15.05");
    EXPECT_EQ(atFiveMyr[3], "-500.0");
    EXPECT_EQ(atFiveMyr[200], "1312.");

    const std::string field = result(resultFiles[4]);
    EXPECT_EQ(field.back(), '\n');
    const auto rows = lines(field);
    ASSERT_EQ(rows.size(), 101u);
    for (const auto& row : rows) {
        EXPECT_EQ(row.front(), ' ');
        EXPECT_EQ(words(row).size(), 101u);
    }
    EXPECT_EQ(words(rows[10])[0], "125.0"); // node 10 (5 km) at time 0

    for (int m = 5; m < 9; ++m) {
        const std::string text = result(resultFiles[m]);
        EXPECT_EQ(text.find('\n'), std::string::npos) << resultFiles[m];
        const auto values = words(text);
        ASSERT_EQ(values.size(), 202u) << resultFiles[m];
        for (int level = 0; level <= 100; ++level)
            EXPECT_EQ(values[2 * level], std::to_string(level)) << resultFiles[m];
    }
    expectStartsWith(result(resultFiles[5]), " 0 -2400. 1 ");

    const std::string history = result(resultFiles[9]);
    expectStartsWith(history, " 0 125.0 1 119.8 2 110.4 3 ");
    EXPECT_EQ(words(history).size(), 22u);
    EXPECT_EQ(history.find('\n'), std::string::npos);
    EXPECT_EQ(result(resultFiles[10]),
        "0.000\n1.000\n2.000\n3.000\n4.000\n5.000\n6.000\n7.000\n8.000\n9.000\n10.00\n");
    const auto temperatures = lines(result(resultFiles[11]));
    ASSERT_EQ(temperatures.size(), 11u);
    EXPECT_EQ(temperatures[0], "125.0");
    EXPECT_EQ(temperatures[1], "119.8");
    EXPECT_EQ(temperatures[2], "110.4");
}

TEST_F(TransientErosion, OptionsShapeTheGridAndTheRecords)
{
    // 0.3 mm/yr: 168 nodes with a 200 m top interval; exposure at time 0 is the surface.
    const auto finished = run({ "-r", "0.3", "-o", "0", "-T", "10", "-i", "5", "-j", "1e9" });
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(lines(result(resultFiles[4])).size(), 168u);
    const auto geotherm = words(result(resultFiles[0]));
    ASSERT_EQ(geotherm.size(), 336u);
    EXPECT_EQ(geotherm[3], "-200.0");
    EXPECT_EQ(geotherm[0], "10.00");
    // An isotherm colder than the surface is never found; one hotter than the base neither.
    const auto colder = words(result(resultFiles[5]));
    const auto hotter = words(result(resultFiles[6]));
    for (std::size_t i = 1; i < colder.size(); i += 2) {
        EXPECT_EQ(colder[i], "NaN");
        EXPECT_EQ(hotter[i], "NaN");
    }
    EXPECT_EQ(result(resultFiles[9]), " 0 10.00");
    EXPECT_EQ(result(resultFiles[10]), "0.000\n");
    EXPECT_EQ(result(resultFiles[11]), "10.00\n");
}

TEST_F(TransientErosion, LastTimeLevelIsAnAcceptedHistoryTime)
{
    const auto finished = run({ "-o", "100" });
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(lines(result(resultFiles[11])).size(), 101u);
}

TEST_F(TransientErosion, MissingGeothermDirectoryStopsBeforeAnyFile)
{
    fs::remove(output("transient/geotherm"));
    const auto finished = run({});
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(finished.err, openError);
    EXPECT_EQ(finished.out, "");
    for (const char* file : resultFiles)
        EXPECT_FALSE(fs::exists(output(file))) << file;
}

TEST_F(TransientErosion, MissingDefaultOutputDirectoryLeavesThePreviousRunsFiles)
{
    // The last two files cannot be opened: the ten before them, complete by then, are not put
    // in place either.
    fillResultsWithSentinels();
    fs::remove_all(output("default_output"));
    const auto before = outputTree();
    const auto finished = run({});
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(finished.err, openError);
    EXPECT_EQ(outputTree(), before);
}

TEST_F(TransientErosion, WriteFailureNamesTheFileAndLeavesThePreviousRunsFiles)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full to fill";
    // The table, an isotherm file and the last file each lead to a full device.
    for (const int failing : { 4, 6, 11 }) {
        fillResultsWithSentinels();
        fs::remove(output(resultFiles[failing]));
        fs::create_symlink("/dev/full", output(resultFiles[failing]));
        const auto before = outputTree();
        const auto finished = run({ "-r", "0.1" });
        EXPECT_EQ(finished.status, 1) << resultFiles[failing];
        EXPECT_EQ(finished.err,
            std::string("ERROR: could not write ../output/") + resultFiles[failing]
                + ": No space left on device\n");
        EXPECT_EQ(outputTree(), before) << resultFiles[failing];
        fs::remove(output(resultFiles[failing]));
    }
}

TEST_F(TransientErosion, PipeWhoseReaderLeavesIsAWriteFailure)
{
    // The table goes to a pipe; its reader takes a little and goes away.
    fillResultsWithSentinels();
    const fs::path table = output(resultFiles[4]);
    fs::remove(table);
    ASSERT_EQ(mkfifo(table.c_str(), 0644), 0);
    const auto before = outputTree();
    // Opened without waiting for the writer, so that a run that never opens it cannot hang us.
    const int reader = open(table.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const pid_t child = start({ "-r", "0.1" });
    pollfd readable { reader, POLLIN, 0 };
    EXPECT_EQ(poll(&readable, 1, 10000), 1) << "nothing written to the pipe";
    char some[100];
    EXPECT_GT(read(reader, some, sizeof some), 0);
    close(reader);
    const auto finished = finish(child);
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(finished.err,
        std::string("ERROR: could not write ../output/") + resultFiles[4] + ": Broken pipe\n");
    EXPECT_EQ(outputTree(), before);
}

TEST_F(TransientErosion, TemporariesOfRunsKilledOutrightAreRemoved)
{
    // One left by a process that has ended, one of a process still running (this one).
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    const fs::path directory = output("transient/temp_time");
    const fs::path stale = directory / (".transient_Tnew.dat." + std::to_string(ended) + "-4.tmp");
    const fs::path live
        = directory / (".transient_Tnew.dat." + std::to_string(getpid()) + "-4.tmp");
    std::ofstream(stale) << "partial table";
    std::ofstream(live) << "partial table";
    const auto finished = run({});
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
}

TEST_F(TransientErosion, FullTableStopsTheRunEarly)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full to fill";
    // 5001 nodes: a 150 MB table. The failing run stops at its first block of rows.
    const auto good = run({ "-r", "0.01" });
    ASSERT_EQ(good.status, 0) << good.err;
    fs::remove(output(resultFiles[4]));
    fs::create_symlink("/dev/full", output(resultFiles[4]));
    const auto failing = run({ "-r", "0.01" });
    EXPECT_EQ(failing.status, 1);
    EXPECT_LT(failing.seconds, good.seconds / 4) << "good run " << good.seconds << " s";
}

TEST_F(TransientErosion, InterruptedRunLeavesThePreviousRunsFiles)
{
    // A finished run, then one of 10001 nodes (a 600 MB table, seconds of work) interrupted while
    // it writes.
    const auto first = run({});
    ASSERT_EQ(first.status, 0) << first.err;
    const auto before = outputTree();
    const struct {
        int signal;
        std::chrono::milliseconds after;
    } interruptions[] = { { SIGTERM, std::chrono::milliseconds(1000) },
        { SIGINT, std::chrono::milliseconds(300) } };
    for (const auto& interruption : interruptions) {
        const pid_t child = start({ "-r", "0.005" });
        std::this_thread::sleep_for(interruption.after);
        kill(child, interruption.signal);
        const auto finished = finish(child);
        EXPECT_EQ(finished.signal, interruption.signal) << finished.err;
        EXPECT_EQ(outputTree(), before) << "after signal " << interruption.signal;
    }
}

TEST_F(TransientErosion, UnusableParametersAreRefusedBeforeAnyFileIsTouched)
{
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        { { "-r", "0" },
            "ERROR: -r erosion rate must be a finite number greater than 0 mm/yr (got 0)\n" },
        { { "-r", "-0.5" },
            "ERROR: -r erosion rate must be a finite number greater than 0 mm/yr (got -0.5)\n" },
        { { "-r", "slow" },
            "ERROR: -r erosion rate must be a finite number greater than 0 mm/yr (got slow)\n" },
        { { "-z", "0" },
            "ERROR: -z maximum depth must be a finite number greater than 0 meters (got 0)\n" },
        { { "-z", "1e400" },
            "ERROR: -z maximum depth must be a finite number greater than 0 meters (got 1e400)\n" },
        { { "-a", "0" },
            "ERROR: -a thermal diffusivity must be a finite number greater than 0 m^2/s (got "
            "0)\n" },
        { { "-d", "-1" },
            "ERROR: -d geotherm 1 time must be a finite number of million years, 0 or more (got "
            "-1)\n" },
        { { "-g", "-0.5" },
            "ERROR: -g geotherm 4 time must be a finite number of million years, 0 or more (got "
            "-0.5)\n" },
        { { "-o", "101" },
            "ERROR: -o temperature history time must be between 0 and 100 million years for this "
            "grid (got 101)\n" },
        { { "-o", "-1" },
            "ERROR: -o temperature history time must be between 0 and 100 million years for this "
            "grid (got -1)\n" },
        { { "-o", "100.5" },
            "ERROR: -o temperature history time must be between 0 and 100 million years for this "
            "grid (got 100.5)\n" },
        { { "-d", "1e300" },
            "ERROR: -d geotherm 1 time is too large: it must be a finite number of million years "
            "(got 1e300)\n" },
        // Grids of one node, with no surface node.
        { { "-r", "1e300" },
            "ERROR: -z maximum depth (got 50000 meters) is too small beside the node spacing, 1000 "
            "x -r erosion rate (got 1e300 mm/yr): the depth grid needs 2 nodes or more, the "
            "surface and one below it\n" },
        { { "-z", "1e-300" },
            "ERROR: -z maximum depth (got 1e-300 meters) is too small beside the node spacing, "
            "1000 x -r erosion rate (got 0.5 mm/yr): the depth grid needs 2 nodes or more, the "
            "surface and one below it\n" },
        { { "-r", "2", "-o", "26" },
            "ERROR: -o temperature history time must be between 0 and 25 million years for this "
            "grid (got 26)\n" },
        // Grids beyond int indices, one with a spacing too fine to advance the count.
        { { "-r", "1e-8" }, "ERROR: Heap Allocation Error\n" },
        { { "-r", "1e-16" }, "ERROR: Heap Allocation Error\n" },
    };
    fillResultsWithSentinels();
    for (const auto& c : cases) {
        const auto finished = run(c.args);
        EXPECT_EQ(finished.status, 1) << c.args[0] << ' ' << c.args[1];
        EXPECT_EQ(finished.err, c.message);
        EXPECT_EQ(finished.out, "");
        expectResultsUntouched(c.args[0] + ' ' + c.args[1]);
    }
}

TEST_F(TransientErosion, ResultsLargerThanTheFreeSpaceAreRefused)
{
    // 500001 nodes: a table of 1.5 TB, which the streamed field could compute in little memory.
    fillResultsWithSentinels();
    const auto before = outputTree();
    const auto finished = run({ "-r", "1e-4" });
    EXPECT_EQ(finished.status, 1);
    expectStartsWith(
        finished.err, "ERROR: the results need 1500 GB in ../output/transient/temp_time, ");
    EXPECT_EQ(finished.err.substr(finished.err.size() - 9), " GB free\n");
    EXPECT_EQ(outputTree(), before);
}

TEST_F(TransientErosion, RunBeyondTheAddressSpaceLimitIsRefused)
{
    // Under a 64 MiB address space the stream of a 5001-node grid (some 35 MiB of buffers and a
    // stack per thread) cannot be had; the default grid's can.
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of shadow address space";
#endif
    const auto limited = [&](const std::vector<std::string>& args) {
        const pid_t child = fork();
        if (child == 0) {
            const rlimit limit { 64 << 20, 64 << 20 };
            setrlimit(RLIMIT_AS, &limit);
            const Finished finished = run(args);
            _exit(finished.status == 0                                 ? 0
                    : finished.err == "ERROR: Heap Allocation Error\n" ? 2
                                                                       : 3);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    fillResultsWithSentinels();
    EXPECT_EQ(limited({ "-r", "0.01" }), 2);
    expectResultsUntouched("a refused run");
    EXPECT_EQ(limited({}), 0);
}
