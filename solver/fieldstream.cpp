#include "fieldstream.h"

#include "alongside.h"
#include "numberformat.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

namespace erosion {

namespace {

// At most about this much memory per block (its rows and their text): writes large enough to
// cost little per byte.
constexpr std::size_t blockBytes = std::size_t { 4 } << 20;

// At most about this much for the ring of blocks waiting to be written, however many processors
// the machine has: enough to compute well ahead while the file is being opened.
constexpr std::size_t ringBudgetBytes = std::size_t { 32 } << 20;

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
        = std::min(blockBytes, ringBudgetBytes / (2 * static_cast<std::size_t>(threads)));
    const int rowsForBalance
        = (nodeCount + blocksPerThread * threads - 1) / (blocksPerThread * threads);
    return std::max(1,
        std::min(
            rowsForBalance, static_cast<int>(std::min<std::size_t>(bytes / rowBytes, nodeCount))));
}

// How the stream cuts the grid and how many buffers it holds.
struct Layout {
    int rowsPerBlock;
    int blockCount;
    int threads;
    int slots;
};

Layout layoutFor(int nodeCount, int threads)
{
    Layout layout {};
    layout.rowsPerBlock = rowsPerBlockFor(nodeCount, std::max(threads, 1));
    layout.blockCount = (nodeCount + layout.rowsPerBlock - 1) / layout.rowsPerBlock;
    layout.threads = std::clamp(threads, 1, std::max(layout.blockCount, 1));
    // At least one slot more than threads, so that a block can be written while every thread
    // fills another; as many as the budget holds, to compute ahead while the file opens.
    const std::size_t slotBytes
        = rowTextCapacity(nodeCount) * static_cast<std::size_t>(layout.rowsPerBlock);
    layout.slots = static_cast<int>(
        std::clamp(ringBudgetBytes / slotBytes, static_cast<std::size_t>(layout.threads + 1),
            static_cast<std::size_t>(std::max(layout.blockCount, layout.threads + 1))));
    return layout;
}

// Hands out the blocks in node order, each into its slot of a ring, and has them written in the
// same order, one writer at a time, as soon as the file is open and the next block is ready.
class BlockRing {
public:
    BlockRing(int blockCount, int slotCount)
        : m_blockCount(blockCount)
        , m_ready(static_cast<std::size_t>(slotCount), false)
    {
    }

    int slotOf(int block) const { return block % static_cast<int>(m_ready.size()); }

    // The next block to compute, once its slot is free; -1 when all are taken or the stream was
    // abandoned (the file refused, a write failed, a thread failed).
    int take()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] {
            return m_file == File::abandoned || m_nextBlock >= m_blockCount
                || m_nextBlock < m_written + static_cast<int>(m_ready.size());
        });
        if (m_file == File::abandoned || m_nextBlock >= m_blockCount)
            return -1;
        return m_nextBlock++;
    }

    // Stops the stream: no block is handed out or written from now on, and every thread waiting
    // for a slot is woken to see it.
    void abandon()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_file = File::abandoned;
        }
        m_changed.notify_all();
    }

    // The block's slot is filled: writes whatever is next in order (see writeReady).
    template <class Write> void filled(int block, Write& write)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_ready[static_cast<std::size_t>(slotOf(block))] = true;
        }
        writeReady(write);
    }

    template <class Write> void fileOpened(bool opened, Write& write)
    {
        {
            const std::lock_guard lock(m_mutex);
            if (m_file == File::opening)
                m_file = opened ? File::open : File::abandoned;
        }
        m_changed.notify_all();
        writeReady(write);
    }

    // Unless another thread is writing (it takes these too before it stops) or the file is not
    // open: calls write(block) for every ready block next in order, and frees its slot. A write
    // that returns false abandons the stream.
    template <class Write> void writeReady(Write& write)
    {
        std::unique_lock lock(m_mutex);
        if (m_writing || m_file != File::open)
            return;
        m_writing = true;
        while (m_file == File::open && m_written < m_blockCount
            && m_ready[static_cast<std::size_t>(slotOf(m_written))]) {
            const int block = m_written;
            lock.unlock();
            const bool written = write(block);
            lock.lock();
            if (!written)
                m_file = File::abandoned;
            m_ready[static_cast<std::size_t>(slotOf(block))] = false;
            ++m_written;
            m_changed.notify_all();
        }
        m_writing = false;
        // Threads waiting for a slot see the slots freed, or the stream abandoned.
        m_changed.notify_all();
    }

private:
    enum class File { opening, open, abandoned };

    int m_blockCount;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<bool> m_ready; // per slot
    File m_file = File::opening;
    bool m_writing = false;
    int m_nextBlock = 0;
    int m_written = 0;
};

// The first exception thrown on any of the stream's threads, kept to be thrown again on the
// calling thread once all of them have stopped.
class FirstFailure {
public:
    void capture(std::exception_ptr failure)
    {
        const std::lock_guard lock(m_mutex);
        if (!m_failure)
            m_failure = std::move(failure);
    }
    void rethrowIfAny() const
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    std::mutex m_mutex;
    std::exception_ptr m_failure;
};

} // namespace

// A computed block waiting to be written: its text and its isotherm findings.
struct FieldStream::Slot {
    Slot(int nodeCount, int rowsPerBlock, const RunParameters& p)
        : text(std::make_unique_for_overwrite<char[]>(
            rowTextCapacity(nodeCount) * static_cast<std::size_t>(rowsPerBlock)))
    {
        for (const double temperature : p.isothermTemp)
            searches.emplace_back(temperature, nodeCount);
    }

    // Not filled first: only the pages the text reaches are ever touched.
    std::unique_ptr<char[]> text;
    std::size_t length = 0;
    int endNode = 0;
    std::vector<IsothermSearch> searches;
    std::array<bool, isothermCount> searched {};
};

FieldStream::FieldStream(const RunParameters& p, const DepthGrid& grid, int threads)
    : m_grid(grid)
    , m_levels(p, grid.nodeCount())
    , m_rowsPerBlock(layoutFor(grid.nodeCount(), threads).rowsPerBlock)
    , m_blockCount(layoutFor(grid.nodeCount(), threads).blockCount)
    , m_threads(layoutFor(grid.nodeCount(), threads).threads)
    , m_exposureLevel(static_cast<int>(p.historyTime))
    , m_history(static_cast<std::size_t>(m_exposureLevel + 1))
{
    // What the stream relies on: a grid with a surface node and an interval below it, one
    // time level per node, and the exposed rock's path inside the grid.
    assert(threads >= 1);
    assert(grid.nodeCount() >= 2);
    assert(m_exposureLevel >= 0 && m_exposureLevel < grid.nodeCount());
    assert(p.historyTime == static_cast<double>(m_exposureLevel));
    const int nodeCount = grid.nodeCount();
    for (const double temperature : p.isothermTemp)
        m_isotherms.emplace_back(temperature, nodeCount);
    // Each thread's rows: its block and the next block's first row.
    m_rows.reserve(static_cast<std::size_t>(m_threads));
    for (int t = 0; t < m_threads; ++t)
        m_rows.push_back(std::make_unique_for_overwrite<double[]>(
            static_cast<std::size_t>(nodeCount) * static_cast<std::size_t>(m_rowsPerBlock + 1)));
    const int slots = layoutFor(nodeCount, threads).slots;
    m_slots.reserve(static_cast<std::size_t>(slots));
    for (int slot = 0; slot < slots; ++slot)
        m_slots.emplace_back(nodeCount, m_rowsPerBlock, p);
}

FieldStream::~FieldStream() = default;

double FieldStream::workingBytes(int nodeCount, int threads)
{
    const Layout layout = layoutFor(nodeCount, threads);
    const double nodes = nodeCount;
    // Per isotherm search: a depth and a found flag per level.
    const double searchBytes = isothermCount * nodes * (sizeof(double) + sizeof(std::uint8_t));
    const double rows = layout.threads * nodes * (layout.rowsPerBlock + 1.0)
        * static_cast<double>(sizeof(double));
    const double slots = layout.slots
        * (static_cast<double>(rowTextCapacity(nodeCount)) * layout.rowsPerBlock + searchBytes);
    // The level factors (time, v t, 2 sqrt(kappa t)) and the history.
    const double perLevel = 4.0 * nodes * sizeof(double);
    return rows + slots + searchBytes + perLevel;
}

bool FieldStream::computeAndWrite(
    ResultFile& out, const char* path, const std::function<void(double)>& progress)
{
    const int nodeCount = m_grid.nodeCount();
    const std::vector<double>& nodeZ = m_grid.nodeZ;
    BlockRing ring(m_blockCount, static_cast<int>(m_slots.size()));
    for (IsothermSearch& search : m_isotherms)
        search.restart();
    // How many levels of each isotherm are still open, for the threads to read without waiting
    // for the writer: a block below the depth where every level was found need not search.
    std::array<std::atomic<int>, isothermCount> openLevels;
    for (std::size_t m = 0; m < isothermCount; ++m)
        openLevels[m].store(m_isotherms[m].openLevels(), std::memory_order_relaxed);

    // Called for the blocks in node order, one at a time; false when the file could not take it.
    auto write = [&](int block) {
        const Slot& slot = m_slots[static_cast<std::size_t>(ring.slotOf(block))];
        if (!out.writeText({ slot.text.get(), slot.length }))
            return false;
        for (std::size_t m = 0; m < isothermCount; ++m) {
            if (!slot.searched[m])
                continue;
            m_isotherms[m].takeFrom(slot.searches[m]);
            openLevels[m].store(m_isotherms[m].openLevels(), std::memory_order_relaxed);
        }
        if (progress)
            progress(static_cast<double>(slot.endNode) / nodeCount);
        return true;
    };

    auto compute = [&](double* rows) {
        // Row k of the block being computed (k = 0: its first node).
        auto row = [&](int k) {
            return std::span<double>(
                rows + static_cast<std::size_t>(k) * static_cast<std::size_t>(nodeCount),
                static_cast<std::size_t>(nodeCount));
        };
        for (int block = ring.take(); block >= 0; block = ring.take()) {
            Slot& slot = m_slots[static_cast<std::size_t>(ring.slotOf(block))];
            const int first = block * m_rowsPerBlock;
            const int end = std::min(nodeCount, first + m_rowsPerBlock);
            // The block's rows and, for the interval between the blocks, the next block's first.
            const int computedEnd = std::min(end + 1, nodeCount);
            for (int node = first; node < computedEnd; ++node)
                m_levels.nodeTemperatures(nodeZ[static_cast<std::size_t>(node)], row(node - first));

            char* text = slot.text.get();
            for (int node = first; node < end; ++node)
                text = formatRow(row(node - first), text);
            slot.length = static_cast<std::size_t>(text - slot.text.get());
            slot.endNode = end;

            // The rock that reaches the surface at the exposure level N lies at node N - k at
            // level k.
            for (int node = first; node < std::min(end, m_exposureLevel + 1); ++node)
                m_history[static_cast<std::size_t>(m_exposureLevel - node)]
                    = row(node - first)[static_cast<std::size_t>(m_exposureLevel - node)];

            for (std::size_t m = 0; m < isothermCount; ++m) {
                slot.searched[m] = openLevels[m].load(std::memory_order_relaxed) > 0;
                if (!slot.searched[m])
                    continue;
                IsothermSearch& search = slot.searches[m];
                search.restart();
                for (int node = first; node + 1 < computedEnd; ++node)
                    search.searchInterval(row(node - first), row(node + 1 - first),
                        nodeZ[static_cast<std::size_t>(node)],
                        nodeZ[static_cast<std::size_t>(node) + 1]);
            }
            ring.filled(block, write);
        }
    };
    // Whatever fails on one thread stops all of them: the others must not wait for a block that
    // will never be written.
    FirstFailure failure;
    auto guarded = [&](auto&& task) {
        try {
            task();
        } catch (...) {
            failure.capture(std::current_exception());
            ring.abandon();
        }
    };
    auto work = [&](double* rows) { guarded([&] { compute(rows); }); };

    // Opening truncates the previous run's file, which can wait on the disk for a while: the
    // threads compute meanwhile, as far ahead as the ring allows.
    bool opened = false;
    auto open = [&] {
        guarded([&] {
            opened = out.open(path);
            ring.fileOpened(opened, write);
        });
    };
    std::vector<std::jthread> helpers;
    helpers.reserve(m_rows.size());
    runAlongside(open, [&] {
        guarded([&] {
            for (std::size_t t = 1; t < m_rows.size(); ++t) {
                try {
                    helpers.emplace_back(work, m_rows[t].get());
                } catch (const std::system_error&) {
                    break; // no more threads to be had: those running share the work
                }
            }
            compute(m_rows[0].get());
        });
        for (std::jthread& helper : helpers)
            helper.join();
    });
    failure.rethrowIfAny();
    return opened && !out.failed();
}

} // namespace erosion
