#include "batchtable.h"

#include "inputerror.h"

#include "stablehash.h"
#include "textformat.h"
#include "textlines.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace ages {

namespace {

constexpr std::string_view fileTitle = "cooling_ages batch: the fit of one group";
constexpr std::size_t longestSafeName = 60;

bool needsQuotes(std::string_view text)
{
    return !text.empty()
        && (text.find_first_of(",\"") != std::string_view::npos || text.front() == ' '
            || text.back() == ' ' || text.front() == '\t' || text.back() == '\t');
}

std::string joinedLines(const ObservedGroup& group)
{
    std::string lines;
    for (const ObservedRow& row : group.rows)
        lines += (lines.empty() ? "" : ", ") + std::to_string(row.line);
    return lines;
}

// "key: value" of a line of a group's file; nothing for another key.
std::optional<std::string> valueOf(const std::string& line, std::string_view key)
{
    if (line.size() < key.size() + 2 || !line.starts_with(key)
        || line.compare(key.size(), 2, ": ") != 0)
        return std::nullopt;
    return line.substr(key.size() + 2);
}

std::string inputsWord(std::uint64_t hash)
{
    return "fnv1a64 " + stablehash::hexadecimal(hash);
}

} // namespace

std::string batchField(const TableValue& value)
{
    if (const double* number = std::get_if<double>(&value)) {
        if (!std::isfinite(*number))
            return {};
        return textformat::shortest(*number == 0 ? 0.0 : *number);
    }
    const std::string& text = std::get<std::string>(value);
    if (!needsQuotes(text))
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::vector<std::string> batchFields(std::string_view line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::string batchHeader(const std::vector<std::string>& columns)
{
    std::string line;
    for (const std::string& column : columns) {
        if (!line.empty())
            line += ',';
        line += column;
    }
    return line;
}

std::string batchRowLine(const BatchRow& row)
{
    std::string line;
    for (std::size_t i = 0; i < row.values.size(); ++i) {
        if (i > 0)
            line += ',';
        line += batchField(row.values[i]);
    }
    return line;
}

void writeBatchTable(
    std::ostream& out, const std::string& header, const std::vector<std::string>& rowLines)
{
    out << header << '\n';
    for (const std::string& line : rowLines)
        out << line << '\n';
}

std::uint64_t groupInputsHash(const GroupProvenance& provenance, const ObservedGroup& group)
{
    std::uint64_t hash = stablehash::fnv1a64(provenance.version + '\n');
    hash = stablehash::fnv1a64(provenance.options + '\n', hash);
    return stablehash::fnv1a64(groupContent(group), hash);
}

std::filesystem::path groupResultPath(
    const std::filesystem::path& directory, const std::string_view group)
{
    std::string safe;
    for (const char c : group.substr(0, longestSafeName)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        safe += plain ? c : '_';
    }
    if (safe.empty() || safe.front() == '.')
        safe.insert(safe.begin(), '_'); // no hidden file, nothing like a temporary's name
    return directory / (safe + "." + stablehash::hexadecimal(stablehash::fnv1a64(group)) + ".txt");
}

void writeGroupResult(std::ostream& out, const GroupProvenance& provenance,
    const ObservedGroup& group, const std::uint64_t inputsHash, const std::string& header,
    const std::string& rowLine)
{
    out << fileTitle << '\n';
    out << "version: " << provenance.version << '\n';
    out << "inputs: " << inputsWord(inputsHash) << '\n';
    out << "observed: " << textformat::printable(provenance.observedFile) << ", lines "
        << joinedLines(group) << '\n';
    out << "options: " << textformat::printable(provenance.options) << '\n';
    out << '\n' << header << '\n' << rowLine << '\n';
}

std::optional<std::string> doneGroupRow(const std::filesystem::path& file,
    const std::uint64_t inputsHash, const std::string& header, const std::string_view group)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::string> lines;
    try {
        textlines::LineReader reader(in);
        for (std::string line; lines.size() < 16 && reader.next(line);)
            lines.push_back(line);
    } catch (const std::length_error&) {
        return std::nullopt;
    }
    // The title, version, inputs, observed, options, a blank line, the header and the row.
    if (lines.size() != 8 || lines[0] != fileTitle || lines[5] != "" || lines[6] != header)
        return std::nullopt;
    if (valueOf(lines[2], "inputs") != inputsWord(inputsHash))
        return std::nullopt;
    const std::vector<std::string> fields = batchFields(lines[7]);
    if (fields.size() != batchFields(header).size() || fields.front() != group)
        return std::nullopt;
    return lines[7];
}

BatchTableFile readBatchTable(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw InputError("--merge " + file + ": cannot be read");
    BatchTableFile table { file, {}, {} };
    std::map<std::string, int> lineOf;
    try {
        textlines::LineReader reader(in);
        for (std::string line; reader.next(line);) {
            if (line.empty())
                continue;
            if (table.header.empty()) {
                if (!line.starts_with("group,"))
                    throw InputError("--merge " + file
                        + ": not a table of cooling_ages batch (its header does not start with "
                          "group)");
                table.header = line;
                continue;
            }
            std::string group = batchFields(line).front();
            if (const auto [where, added] = lineOf.emplace(group, reader.lineNumber()); !added)
                throw InputError("--merge " + file + " lines " + std::to_string(where->second)
                    + " and " + std::to_string(reader.lineNumber()) + ": group "
                    + textformat::quoted(group) + " twice");
            table.rows.emplace_back(std::move(group), line);
        }
    } catch (const std::length_error& error) {
        throw InputError("--merge " + file + " " + error.what());
    }
    if (in.bad())
        throw InputError("--merge " + file + ": cannot be read");
    if (table.header.empty())
        throw InputError("--merge " + file + ": empty, not a table of cooling_ages batch");
    return table;
}

std::vector<std::string> mergedRows(
    const std::vector<BatchTableFile>& tables, const std::vector<std::string>& groups)
{
    std::map<std::string, std::pair<const BatchTableFile*, const std::string*>> found;
    for (const BatchTableFile& table : tables) {
        if (table.header != tables.front().header)
            throw InputError("--merge: " + table.file + " and " + tables.front().file
                + " have different columns (another model or other options?)");
        for (const auto& [group, line] : table.rows) {
            const auto [where, added] = found.try_emplace(group, &table, &line);
            if (!added)
                throw InputError("--merge: group " + textformat::quoted(group) + " is in both "
                    + where->second.first->file + " and " + table.file
                    + ": shards of one batch never overlap (the same shard twice?)");
        }
    }
    std::vector<std::string> rows;
    std::vector<std::string> missing;
    for (const std::string& group : groups) {
        const auto where = found.find(group);
        if (where == found.end()) {
            missing.push_back(group);
            continue;
        }
        rows.push_back(*where->second.second);
        found.erase(where);
    }
    if (!missing.empty()) {
        constexpr std::size_t named = 10;
        std::string names;
        for (std::size_t i = 0; i < std::min(missing.size(), named); ++i)
            names += (i == 0 ? "" : ", ") + textformat::quoted(missing[i]);
        if (missing.size() > named)
            names += " and " + std::to_string(missing.size() - named) + " more";
        throw InputError("--merge: " + std::to_string(missing.size()) + " of "
            + std::to_string(groups.size()) + " groups are in no table: " + names
            + " (a shard not run, or not finished?)");
    }
    if (!found.empty()) {
        const auto& [group, where] = *found.begin();
        throw InputError("--merge: group " + textformat::quoted(group) + " of " + where.first->file
            + " is not a group of --observed (another compilation?)");
    }
    return rows;
}

} // namespace ages
