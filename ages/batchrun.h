#pragma once
// `cooling_ages batch`: a compilation of measured ages fitted group by group (batchfit.h), with
// the same model and options for every group, into one table (batchtable.h).
//
//   1. every refusal of the whole batch first: the model (batchModelError), the file and its
//      column, the output, the results directory;
//   2. the groups of the shard (all without --shard), less those whose file in --results holds
//      a row of the same inputs, fitted on local threads, each one's file written as soon as it
//      is done (replaced whole), with a progress line: done, refused, left;
//   3. the table (to --output, replaced whole, or standard output), then the count of groups and
//      of refused groups on standard error. A group that cannot be fitted holds its refusal in
//      its row and the others go on; only when every group is refused is the batch refused
//      (InputError), the table written all the same.
//
// Shards: --shard I/N takes the groups whose name hashes to I, shard(group) = 1 + FNV-1a-64(name)
// mod N (stablehash.h, the name's bytes as the file holds them), so that N runs of a job array,
// I = 1 .. N, take every group once, whatever the machine or the order of the rows.
// `cooling_ages batch --merge FILES... --observed FILE --by COLUMN` joins the shards' tables in
// the order of the file's groups.

#include "batchfit.h"
#include "batchtable.h"

#include "parallelfor.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

struct Shard {
    unsigned index = 1; // 1 .. count
    unsigned count = 1;
};

// "I/N" with 1 <= I <= N. Throws InputError otherwise.
Shard parseShard(std::string_view word);

// The shard, 1 .. count, that holds the group.
unsigned shardOfGroup(std::string_view group, unsigned count);

struct BatchRequest {
    std::string observedFile;
    std::string byColumn;
    std::optional<Shard> shard;
    std::string resultsDirectory; // --results; empty for none
    std::string outputFile; // --output; empty for standard output
    unsigned threads = defaultThreadCount();
    GroupProvenance provenance; // the version and every option, for the groups' files
};

// Steps 1 to 3. With showProgress the progress line is rewritten in place (a terminal); without,
// a line is written every ten seconds (a log). Throws InputError for a refusal of the batch.
void runBatch(const BatchRequest& request, const BatchModel& model, std::ostream& out,
    std::ostream& err, bool showProgress);

struct MergeRequest {
    std::vector<std::string> files;
    std::string observedFile; // the compilation, to know every group
    std::string byColumn;
    std::string outputFile;
};

// Throws InputError for tables that overlap, miss groups or do not belong together (mergedRows).
void runBatchMerge(const MergeRequest& request, std::ostream& out, std::ostream& err);

} // namespace ages
