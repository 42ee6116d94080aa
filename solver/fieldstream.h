#pragma once
// File 5, the temperature field, computed and written in one stream on several threads, with the
// isotherm depths and the cooling history gathered from the rows as they pass: the field is
// never held whole, so a fine grid costs neither the memory of the table (8 x nodeCount^2
// bytes) nor the time to fill it page by page and read it back.
//
// The nodes are cut into blocks of consecutive rows, a megabyte or two of text each. A thread
// takes the next block, evaluates its rows (and the first row of the next block, for the interval
// between them), formats them into the block's slot in a ring of buffers, takes the history
// values that lie in them and searches them for the isotherms. The blocks are written, and their
// isotherm findings merged, in node order by whichever thread finds the next one ready, while the
// others go on computing. The computing starts while the file is still being opened (which can
// wait on the disk when it truncates the previous run's results), and runs ahead as far as the
// ring allows. The text is byte for byte that of the plain writer, and the depths and
// temperatures are bit for bit those found in the stored field.

#include "fastfield.h"
#include "grid.h"
#include "isothermsearch.h"
#include "resultfile.h"
#include "runparameters.h"

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <tuple>
#include <vector>

namespace erosion {

class FieldStream {
public:
    static constexpr std::size_t isothermCount
        = std::tuple_size_v<decltype(RunParameters::isothermTemp)>;

    // All the working memory of the stream, allocated at once (throws std::bad_alloc when it
    // cannot be had). threads >= 1; the grid has 2 nodes or more; p.historyTime is a whole
    // number in 0 .. nodeCount - 1 (a Debug build asserts these).
    FieldStream(const RunParameters& p, const DepthGrid& grid, int threads);
    FieldStream(const FieldStream&) = delete;
    FieldStream& operator=(const FieldStream&) = delete;
    ~FieldStream();

    // The bytes a stream over nodeCount nodes on threads threads allocates (its buffers, the
    // level factors and the records), without allocating them.
    static double workingBytes(int nodeCount, int threads);

    // Opens path through out, computes and writes the field, and gathers the records below.
    // False when the open is refused or a write fails (out tells which): the stream stops at
    // once, every thread with it. An exception on any thread stops the stream the same way and
    // is thrown again here once all have stopped. The file is left open for the caller to close:
    // closing a large file can wait on the disk. progress, when set, hears of every block
    // written with the share of the rows done (0 .. 1), on whichever thread writes it.
    bool computeAndWrite(
        ResultFile& out, const char* path, const std::function<void(double)>& progress = {});

    // After computeAndWrite: the node coordinate of isotherm m at each time level (0 where it
    // was not found), and the cooling history, as the plain path finds them in the stored field.
    std::span<const double> isothermDepths(std::size_t m) const { return m_isotherms[m].depths(); }
    std::span<const double> coolingHistory() const { return m_history; }

private:
    struct Slot;

    const DepthGrid& m_grid;
    LevelFactors m_levels;
    int m_rowsPerBlock;
    int m_blockCount;
    int m_threads;
    int m_exposureLevel;
    std::vector<IsothermSearch> m_isotherms; // what the blocks written so far found
    std::vector<double> m_history;
    // Per thread: the rows of the block it computes (and the next block's first).
    std::vector<std::unique_ptr<double[]>> m_rows;
    std::vector<Slot> m_slots; // blocks computed and waiting to be written, in a ring
};

} // namespace erosion
