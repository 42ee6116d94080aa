#include "fieldwriter.h"

#include "alongside.h"
#include "numberformat.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace erosion {

namespace {

// At most about this much text per block: writes large enough to cost little per byte.
constexpr std::size_t blockTextBytes = std::size_t { 4 } << 20;

// At most about this much for the buffers of all threads together (one block each), however many
// processors the machine has: a small addition to the memory of the field.
constexpr std::size_t bufferBudgetBytes = std::size_t { 32 } << 20;

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

// Hands out the blocks in node order and lets them be written in the same order, once the file
// is open.
class BlockSchedule {
public:
    BlockSchedule(int nodeCount, int rowsPerBlock)
        : m_nodeCount(nodeCount)
        , m_rowsPerBlock(rowsPerBlock)
        , m_blockCount((nodeCount + rowsPerBlock - 1) / rowsPerBlock)
    {
    }

    int blockCount() const { return m_blockCount; }
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

    // Blocks until the file is open and every block before this one is written; false when the
    // file was refused. Each thread holds one block at a time and takes them in increasing
    // order, so the earliest unwritten block is always held by a thread that is computing it or
    // writing it: the wait ends.
    bool waitForTurn(int block)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] {
            return m_file == File::refused || (m_file == File::open && m_written == block);
        });
        return m_file == File::open;
    }

    void finishTurn()
    {
        {
            const std::lock_guard lock(m_mutex);
            ++m_written;
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
    int m_written = 0;
};

} // namespace

bool computeAndWriteField(ResultFile& out, const char* path, const LevelFactors& levels,
    const DepthGrid& grid, TemperatureField& field, int threads, ProgressLine& progress)
{
    const int nodeCount = grid.nodeCount();
    const std::size_t rowCapacity = rowTextCapacity(nodeCount);
    threads = std::clamp(threads, 1, std::max(nodeCount, 1));
    const int rowsForBalance
        = (nodeCount + blocksPerThread * threads - 1) / (blocksPerThread * threads);
    const std::size_t blockBytes
        = std::min(blockTextBytes, bufferBudgetBytes / static_cast<std::size_t>(threads));
    const int rowsPerBlock = std::max(1,
        std::min(rowsForBalance,
            static_cast<int>(std::min<std::size_t>(blockBytes / rowCapacity, nodeCount))));
    BlockSchedule schedule(nodeCount, rowsPerBlock);
    threads = std::min(threads, std::max(schedule.blockCount(), 1));

    // Everything is allocated before a thread starts, so that a shortage ends the run cleanly.
    std::vector<std::vector<char>> buffers(static_cast<std::size_t>(threads),
        std::vector<char>(rowCapacity * static_cast<std::size_t>(rowsPerBlock)));
    std::vector<std::jthread> helpers;
    helpers.reserve(buffers.size());

    auto work = [&](std::vector<char>& buffer) {
        for (int block = schedule.take(); block >= 0; block = schedule.take()) {
            const int first = schedule.firstNode(block), end = schedule.endNode(block);
            computeFieldRows(levels, grid, field, first, end);
            char* text = buffer.data();
            for (int node = first; node < end; ++node)
                text = formatRow(field.row(node), text);

            if (!schedule.waitForTurn(block))
                return;
            out.writeText({ buffer.data(), static_cast<std::size_t>(text - buffer.data()) });
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
    runAlongside(open, [&] {
        for (std::size_t t = 1; t < buffers.size(); ++t) {
            try {
                helpers.emplace_back(work, std::ref(buffers[t]));
            } catch (const std::system_error&) {
                break; // no more threads to be had: those running share the work
            }
        }
        work(buffers[0]);
        for (std::jthread& helper : helpers)
            helper.join();
    });
    return opened;
}

} // namespace erosion
