#pragma once
// File 5, the temperature field, computed and written in one go on several threads.
//
// The nodes are cut into blocks of consecutive rows, a few megabytes of text each. A thread
// takes the next block, evaluates its rows into the field, formats them into its own buffer and,
// when the blocks before it are written, writes it, while the other threads go on computing. The
// computing starts while the file is still being opened.
// The text is byte for byte that of the plain writer: one line per node, each value preceded by
// a space.

#include "fastfield.h"
#include "field.h"
#include "grid.h"
#include "progressline.h"
#include "resultfile.h"

namespace erosion {

// Opens path through out, fills field and writes it; false when the open is refused (the field
// is then left incomplete). The file is left open for the caller to close: closing a large file
// can wait on the disk, and the caller may have work to do meanwhile. threads >= 1; progress
// hears of every block written.
bool computeAndWriteField(ResultFile& out, const char* path, const LevelFactors& levels,
    const DepthGrid& grid, TemperatureField& field, int threads, ProgressLine& progress);

} // namespace erosion
