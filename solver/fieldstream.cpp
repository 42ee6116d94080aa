#include "fieldstream.h"

#include "alongside.h"
#include "numberformat.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

namespace erosion {

namespace {

// At most about this much memory per block (its rows and their text): writes large enough to
// cost little per byte.
constexpr std::size_t blockBytes = std::size_t { 4 } << 20;

// At most about this much for the blocks of all threads together, however many processors the
// machine has.
constexpr std::size_t blockBudgetBytes = std::size_t { 32 } << 20;

// At least this many blocks per thread where the grid allows, so that the threads finish
// together on small grids too.
constexpr int blocksPerThread = 4;

// The most text one row can take: a space and a number per value, and the line end.
std::size_t rowTextCapacity(int nodeCount)
{
    return static_cast<std::size_t>(nodeCount) * (1 + maxNumberLength) + 1;
}

// " v0 v1 ... vn" and a line end, as the plain writer writes a row.
char* formatRow(std::span<const double> values, char* out)
{
    out = formatSpacedNumbers(values, out);
    *out++ = '\n';
    return out;
}

int rowsPerBlockFor(int nodeCount, int threads)
{
    const std::size_t rowBytes
        = rowTextCapacity(nodeCount) + sizeof(double) * static_cast<std::size_t>(nodeCount);
    const std::size_t bytes
        = std::min(blockBytes, blockBudgetBytes / static_cast<std::size_t>(threads));
    const int rowsForBalance
        = (nodeCount + blocksPerThread * threads - 1) / (blocksPerThread * threads);
    return std::max(1,
        std::min(
            rowsForBalance, static_cast<int>(std::min<std::size_t>(bytes / rowBytes, nodeCount))));
}

// Hands out the blocks in node order and lets them be finished (written and merged) in the same
// order, once the file is open.
class BlockSchedule {
public:
    BlockSchedule(int nodeCount, int rowsPerBlock)
        : m_nodeCount(nodeCount)
        , m_rowsPerBlock(rowsPerBlock)
        , m_blockCount((nodeCount + rowsPerBlock - 1) / rowsPerBlock)
    {
    }

    int firstNode(int block) const { return block * m_rowsPerBlock; }
    int endNode(int block) const { return std::min(m_nodeCount, (block + 1) * m_rowsPerBlock); }

    // The next block to compute, or -1 when all are taken or the file was refused.
    int take()
    {
        const std::lock_guard lock(m_mutex);
        return m_file != File::refused && m_nextBlock < m_blockCount ? m_nextBlock++ : -1;
    }

    void fileOpened(bool opened)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_file = opened ? File::open : File::refused;
        }
        m_changed.notify_all();
    }

    // Blocks until the file is open and every block before this one is finished; false when
    // the file was refused. Each thread holds one block at a time and takes them in increasing
    // order, so the earliest unfinished block is always held by a thread that is computing it
    // or finishing it: the wait ends.
    bool waitForTurn(int block)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] {
            return m_file == File::refused || (m_file == File::open && m_finished == block);
        });
        return m_file == File::open;
    }

    void finishTurn()
    {
        {
            const std::lock_guard lock(m_mutex);
            ++m_finished;
        }
        m_changed.notify_all();
    }

private:
    enum class File { opening, open, refused };

    int m_nodeCount;
    int m_rowsPerBlock;
    int m_blockCount;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    File m_file = File::opening;
    int m_nextBlock = 0;
    int m_finished = 0;
};

} // namespace

// One thread's block: its rows (and the next block's first), their text, its isotherm findings.
struct FieldStream::Worker {
    Worker(int nodeCount, int rowsPerBlock, const RunParameters& p)
        : nodeCount(nodeCount)
        , rows(static_cast<std::size_t>(nodeCount) * static_cast<std::size_t>(rowsPerBlock + 1))
        , text(rowTextCapacity(nodeCount) * static_cast<std::size_t>(rowsPerBlock))
    {
        for (const double temperature : p.isothermTemp)
            searches.emplace_back(temperature, nodeCount);
    }

    // Row k of the block (k = 0 is its first node).
    std::span<double> row(int k)
    {
        return { rows.data() + static_cast<std::size_t>(k) * static_cast<std::size_t>(nodeCount),
            static_cast<std::size_t>(nodeCount) };
    }

    int nodeCount;
    std::vector<double> rows;
    std::vector<char> text;
    std::vector<IsothermSearch> searches;
    std::array<bool, isothermCount> searched {};
};

FieldStream::FieldStream(const RunParameters& p, const DepthGrid& grid, int threads)
    : m_grid(grid)
    , m_levels(p, grid.nodeCount())
    , m_rowsPerBlock(rowsPerBlockFor(grid.nodeCount(), std::max(threads, 1)))
    , m_exposureLevel(static_cast<int>(p.historyTime))
    , m_history(static_cast<std::size_t>(m_exposureLevel + 1))
{
    const int nodeCount = grid.nodeCount();
    for (const double temperature : p.isothermTemp)
        m_isotherms.emplace_back(temperature, nodeCount);
    const int blocks = (nodeCount + m_rowsPerBlock - 1) / m_rowsPerBlock;
    const int workers = std::clamp(threads, 1, std::max(blocks, 1));
    m_workers.reserve(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers; ++w)
        m_workers.emplace_back(nodeCount, m_rowsPerBlock, p);
}

FieldStream::~FieldStream() = default;

bool FieldStream::computeAndWrite(ResultFile& out, const char* path, ProgressLine& progress)
{
    const int nodeCount = m_grid.nodeCount();
    const std::vector<double>& nodeZ = m_grid.nodeZ;
    BlockSchedule schedule(nodeCount, m_rowsPerBlock);
    for (IsothermSearch& search : m_isotherms)
        search.restart();
    // How many levels of each isotherm are still open, for the threads to read without waiting
    // for their turn: a block below the depth where every level was found need not search.
    std::array<std::atomic<int>, isothermCount> openLevels;
    for (std::size_t m = 0; m < isothermCount; ++m)
        openLevels[m].store(m_isotherms[m].openLevels(), std::memory_order_relaxed);

    auto work = [&](Worker& worker) {
        for (int block = schedule.take(); block >= 0; block = schedule.take()) {
            const int first = schedule.firstNode(block), end = schedule.endNode(block);
            // The block's rows and, for the interval between the blocks, the next block's first.
            const int computedEnd = std::min(end + 1, nodeCount);
            for (int node = first; node < computedEnd; ++node)
                m_levels.nodeTemperatures(
                    nodeZ[static_cast<std::size_t>(node)], worker.row(node - first));

            char* text = worker.text.data();
            for (int node = first; node < end; ++node)
                text = formatRow(worker.row(node - first), text);

            // The rock that reaches the surface at the exposure level N lies at node N - k at
            // level k.
            for (int node = first; node < std::min(end, m_exposureLevel + 1); ++node)
                m_history[static_cast<std::size_t>(m_exposureLevel - node)]
                    = worker.row(node - first)[static_cast<std::size_t>(m_exposureLevel - node)];

            for (std::size_t m = 0; m < isothermCount; ++m) {
                worker.searched[m] = openLevels[m].load(std::memory_order_relaxed) > 0;
                if (!worker.searched[m])
                    continue;
                IsothermSearch& search = worker.searches[m];
                search.restart();
                for (int node = first; node + 1 < computedEnd; ++node)
                    search.searchInterval(worker.row(node - first), worker.row(node + 1 - first),
                        nodeZ[static_cast<std::size_t>(node)],
                        nodeZ[static_cast<std::size_t>(node) + 1]);
            }

            if (!schedule.waitForTurn(block))
                return;
            out.writeText(
                { worker.text.data(), static_cast<std::size_t>(text - worker.text.data()) });
            for (std::size_t m = 0; m < isothermCount; ++m) {
                if (!worker.searched[m])
                    continue;
                m_isotherms[m].takeFrom(worker.searches[m]);
                openLevels[m].store(m_isotherms[m].openLevels(), std::memory_order_relaxed);
            }
            progress.update(static_cast<double>(end) / nodeCount);
            schedule.finishTurn();
        }
    };

    // Opening truncates the previous run's file, which can wait on the disk for a while: the
    // threads compute meanwhile.
    bool opened = false;
    auto open = [&] {
        opened = out.open(path);
        schedule.fileOpened(opened);
    };
    std::vector<std::jthread> helpers;
    helpers.reserve(m_workers.size());
    runAlongside(open, [&] {
        for (std::size_t w = 1; w < m_workers.size(); ++w) {
            try {
                helpers.emplace_back(work, std::ref(m_workers[w]));
            } catch (const std::system_error&) {
                break; // no more threads to be had: those running share the work
            }
        }
        work(m_workers[0]);
        for (std::jthread& helper : helpers)
            helper.join();
    });
    return opened;
}

} // namespace erosion
