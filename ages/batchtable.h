#pragma once
// The batch's table as CSV (one header row, one row per group, in the order the groups have in
// the measured file) and the small files that keep each finished group of a batch.
//
// Numbers are written in the shortest form that reads back as the same double (std::to_chars),
// not rounded to six digits as the suite's other tables are: a table of shards merged, a
// table rebuilt from the groups' files after a restart and the Python module's DataFrame then
// hold the very numbers a group's fit computed. Empty fields: no number (NaN) or no text. A text
// field that holds a comma, a double quote or blanks at an end is quoted, its quotes doubled
// (RFC 4180); a field never holds a line end.
//
// A group's file (in the --results directory, replaced whole when the group is done):
//
//     cooling_ages batch: the fit of one group
//     version: Cooling Ages from Erosion Models - v1.0
//     inputs: fnv1a64 0123456789abcdef      (of the version, the options and the group's rows)
//     observed: compilation.csv, lines 12, 13, 17
//     options: --by=site --model=transient -T=10 -B=0.025 ... (every option, given or default)
//                                            (a blank line)
//     group,ages,status,...                 (the table's header)
//     A-12,3,fitted,...                     (the group's row)

#include "batchfit.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ages {

// One field, quoted where it needs to be.
std::string batchField(const TableValue& value);
// The fields of a line of such a table (quotes removed, doubled quotes made single).
std::vector<std::string> batchFields(std::string_view line);

// Lines without their line end.
std::string batchHeader(const std::vector<std::string>& columns);
std::string batchRowLine(const BatchRow& row);

// The header and the rows' lines, each ending in a line end.
void writeBatchTable(
    std::ostream& out, const std::string& header, const std::vector<std::string>& rowLines);

// What a group's file records besides its row.
struct GroupProvenance {
    std::string version;
    std::string options; // every option, name=value
    std::string observedFile;
};

// The hash of a group's inputs: the version, the options and the group's header and rows (not
// their line numbers, so that rows added to another group leave it done).
std::uint64_t groupInputsHash(const GroupProvenance& provenance, const ObservedGroup& group);

// The group's file in directory: its name made of the characters of the group that are safe in
// any file system (letters, digits, '-', '_', '.', others as '_', at most 60) and the hash of
// the whole name, so that two groups never share one.
std::filesystem::path groupResultPath(
    const std::filesystem::path& directory, std::string_view group);

// The text of a group's file.
void writeGroupResult(std::ostream& out, const GroupProvenance& provenance,
    const ObservedGroup& group, std::uint64_t inputsHash, const std::string& header,
    const std::string& rowLine);

// The row of a group's file when the file is complete and was made from the same inputs (hash)
// under the same header; nothing otherwise (no file, another hash, an older table, a file cut
// short): the group is then fitted again.
std::optional<std::string> doneGroupRow(const std::filesystem::path& file, std::uint64_t inputsHash,
    const std::string& header, std::string_view group);

// One shard's table as read back for a merge.
struct BatchTableFile {
    std::string file;
    std::string header;
    std::vector<std::pair<std::string, std::string>> rows; // group, line
};

// Throws InputError for a file that cannot be read, is empty or names a group twice.
BatchTableFile readBatchTable(const std::string& file);

// The rows of the tables in the order of groups: every group in exactly one table. Throws
// InputError for tables of different headers, a group in two tables (naming both), a group of no
// table (naming those missing, the first ten) and a group that is not among groups.
std::vector<std::string> mergedRows(
    const std::vector<BatchTableFile>& tables, const std::vector<std::string>& groups);

} // namespace ages
