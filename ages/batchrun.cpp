#include "batchrun.h"

#include "agetable.h"
#include "inputerror.h"
#include "observedages.h"
#include "observedgroups.h"

#include "replacementgroup.h"
#include "stablehash.h"
#include "strictnumber.h"
#include "textformat.h"

#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace ages {

namespace {

ObservedGroups readGroups(const std::string& file, const std::string& column)
{
    std::ifstream in(file, std::ios::binary);
    try {
        if (!in)
            throw ObservedAgesError(file + ": cannot be read");
        return groupObservedRows(in, file, column);
    } catch (const ObservedAgesError& error) {
        throw InputError(error.what());
    }
}

std::filesystem::path normalised(const std::string& file)
{
    std::error_code ignored;
    return std::filesystem::absolute(file, ignored).lexically_normal();
}

// An output that could only fail at the end, or that would replace the measured ages.
void checkOutput(const std::string& output, const std::string& observed)
{
    if (const auto error = outputFileError("--output", output))
        throw InputError(*error);
    if (!output.empty() && normalised(output) == normalised(observed))
        throw InputError("--output " + output + " would replace the measured ages");
}

void prepareResults(const std::string& directory)
{
    if (directory.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (!std::filesystem::is_directory(directory))
        throw InputError("--results " + directory + ": not a directory"
            + (error ? " (" + error.message() + ")" : std::string()));
}

void writeTable(const std::string& file, const std::string& header,
    const std::vector<std::string>& lines, std::ostream& out)
{
    if (file.empty()) {
        writeBatchTable(out, header, lines);
        out.flush();
        if (!out)
            throw InputError("cannot write the table to standard output");
        return;
    }
    wholefile::removeAbandonedTemporaries(file); // what a killed run left beside it
    writeFileAtomically(
        file, [&](std::ostream& stream) { writeBatchTable(stream, header, lines); });
}

// Groups done, refused and left: in place on a terminal (erased at the end), else a line every
// ten seconds.
class BatchProgress {
public:
    using Clock = std::chrono::steady_clock;

    BatchProgress(std::ostream& err, bool inPlace, std::size_t total)
        : m_err(err)
        , m_inPlace(inPlace)
        , m_total(total)
        , m_next(Clock::now() + (inPlace ? std::chrono::milliseconds(700) : logInterval))
    {
    }
    BatchProgress(const BatchProgress&) = delete;
    BatchProgress& operator=(const BatchProgress&) = delete;
    ~BatchProgress() { erase(); }

    void count(bool refused)
    {
        ++m_done;
        m_refused += refused;
        const auto now = Clock::now();
        if (now < m_next)
            return;
        m_next = now + (m_inPlace ? std::chrono::milliseconds(200) : logInterval);
        const std::string line = "batch: " + std::to_string(m_done) + " done, "
            + std::to_string(m_refused) + " refused, " + std::to_string(m_total - m_done) + " left";
        if (m_inPlace) {
            m_err << '\r' << line
                  << std::string(m_shown > line.size() ? m_shown - line.size() : 0, ' ')
                  << std::flush;
            m_shown = line.size();
        } else {
            m_err << line << '\n' << std::flush;
        }
    }

    void erase()
    {
        if (m_shown > 0)
            m_err << '\r' << std::string(m_shown, ' ') << '\r' << std::flush;
        m_shown = 0;
    }

    std::size_t done() const { return m_done; }
    std::size_t refused() const { return m_refused; }

private:
    static constexpr std::chrono::seconds logInterval { 10 };

    std::ostream& m_err;
    bool m_inPlace;
    std::size_t m_total;
    std::size_t m_done = 0;
    std::size_t m_refused = 0;
    std::size_t m_shown = 0;
    Clock::time_point m_next;
};

} // namespace

Shard parseShard(const std::string_view word)
{
    const auto slash = word.find('/');
    const auto whole = [](std::string_view text) -> std::optional<unsigned> {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size())
            return std::nullopt;
        return value;
    };
    const auto index
        = slash == std::string_view::npos ? std::nullopt : whole(word.substr(0, slash));
    const auto count
        = slash == std::string_view::npos ? std::nullopt : whole(word.substr(slash + 1));
    if (!index || !count || *count == 0 || *index == 0 || *index > *count)
        throw InputError("--shard expects I/N, the I-th of N shards with 1 <= I <= N (a job "
                         "array's task 1 to N), got "
            + textformat::quoted(word));
    return { *index, *count };
}

unsigned shardOfGroup(const std::string_view group, const unsigned count)
{
    return static_cast<unsigned>(1 + stablehash::fnv1a64(group) % count);
}

void runBatch(const BatchRequest& request, const BatchModel& model, std::ostream& out,
    std::ostream& err, const bool showProgress)
{
    // 1. The refusals of the whole batch.
    checkBatchModel(model);
    checkOutput(request.outputFile, request.observedFile);
    const ObservedGroups all = readGroups(request.observedFile, request.byColumn);
    prepareResults(request.resultsDirectory);

    // 2. The shard's groups, less those done before.
    const std::vector<std::string> columns = batchColumns(model);
    const std::string header = batchHeader(columns);
    std::vector<const ObservedGroup*> groups;
    for (const ObservedGroup& group : all.groups) {
        if (!request.shard
            || shardOfGroup(group.name, request.shard->count) == request.shard->index)
            groups.push_back(&group);
    }
    std::vector<std::optional<std::string>> lines(groups.size());
    std::vector<std::uint64_t> hashes(groups.size());
    std::vector<const ObservedGroup*> toFit;
    std::vector<std::size_t> placeOf; // index in groups of each group to fit
    std::size_t refusedBefore = 0;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (!request.resultsDirectory.empty()) {
            hashes[i] = groupInputsHash(request.provenance, *groups[i]);
            lines[i] = doneGroupRow(groupResultPath(request.resultsDirectory, groups[i]->name),
                hashes[i], header, groups[i]->name);
        }
        if (lines[i]) {
            refusedBefore += batchFields(*lines[i]).at(2) == refusedStatus;
        } else {
            toFit.push_back(groups[i]);
            placeOf.push_back(i);
        }
    }
    const std::size_t doneBefore = groups.size() - toFit.size();

    BatchProgress progress(err, showProgress, toFit.size());
    fitGroups(model, toFit, request.threads, [&](std::size_t k, const BatchRow& row) {
        const std::size_t i = placeOf[k];
        lines[i] = batchRowLine(row);
        if (!request.resultsDirectory.empty()) {
            const auto file = groupResultPath(request.resultsDirectory, row.group).string();
            wholefile::removeAbandonedTemporaries(file);
            if (const auto failure = wholefile::replaceWholeFile(file, [&](std::ostream& stream) {
                    writeGroupResult(
                        stream, request.provenance, *groups[i], hashes[i], header, *lines[i]);
                }))
                throw InputError(
                    "cannot write " + failure->path + ": " + std::strerror(failure->error));
        }
        progress.count(row.refused());
    });
    progress.erase();

    // 3. The table and the counts.
    std::vector<std::string> table;
    for (auto& line : lines)
        table.push_back(std::move(*line));
    writeTable(request.outputFile, header, table, out);

    const std::size_t refused = refusedBefore + progress.refused();
    std::string summary
        = "batch: " + std::to_string(groups.size()) + (groups.size() == 1 ? " group" : " groups");
    if (request.shard)
        summary += " (shard " + std::to_string(request.shard->index) + "/"
            + std::to_string(request.shard->count) + " of " + std::to_string(all.groups.size())
            + ")";
    summary += ", " + std::to_string(groups.size() - refused) + " fitted, "
        + std::to_string(refused) + " refused";
    if (doneBefore > 0)
        summary += "; " + std::to_string(doneBefore) + " of them done before, kept in "
            + request.resultsDirectory;
    err << summary << '\n';
    if (!groups.empty() && refused == groups.size()) {
        // The first refusal says what every group lacks, most often.
        const std::vector<std::string> first = batchFields(table.front());
        throw InputError("every group was refused; the first, " + textformat::quoted(first[0])
            + ": " + first.back());
    }
}

void runBatchMerge(const MergeRequest& request, std::ostream& out, std::ostream& err)
{
    if (request.observedFile.empty() || request.byColumn.empty())
        throw InputError("--merge needs the compilation the shards come from, --observed FILE "
                         "--by COLUMN, to know every group and name those missing");
    checkOutput(request.outputFile, request.observedFile);
    for (const std::string& file : request.files) {
        if (!request.outputFile.empty() && normalised(file) == normalised(request.outputFile))
            throw InputError("--output " + request.outputFile + " would replace a table it merges");
    }
    const ObservedGroups all = readGroups(request.observedFile, request.byColumn);
    std::vector<BatchTableFile> tables;
    for (const std::string& file : request.files)
        tables.push_back(readBatchTable(file));
    std::vector<std::string> groups;
    for (const ObservedGroup& group : all.groups)
        groups.push_back(group.name);
    const std::vector<std::string> rows = mergedRows(tables, groups);
    writeTable(request.outputFile, tables.front().header, rows, out);
    err << "batch: " << rows.size() << " groups merged from " << tables.size() << " tables\n";
}

} // namespace ages
