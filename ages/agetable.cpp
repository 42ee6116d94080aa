#include "agetable.h"

#include "inputerror.h"
#include "replacementgroup.h"

#include "thermochron/tracklengths.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace ages {

namespace {

// Significant digits of every number: finer than any age, temperature or depth is known.
constexpr int significantDigits = 6;
// Of a number written in full: a millimetre on a UTM northing (below 10^7 m).
constexpr int fullDigits = 10;

// Shortest of fixed and exponent notation with significantDigits digits, locale-free; empty for
// NaN (no value) and for infinities (none of the columns can hold one honestly).
std::string field(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        value = 0; // no "-0"
    std::array<char, 32> text {};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
        std::chars_format::general, significantDigits);
    return std::string(text.data(), result.ptr);
}

} // namespace

std::string csvNumber(const double value) { return field(value); }

std::string csvField(const TableValue& value)
{
    if (const double* number = std::get_if<double>(&value))
        return field(*number);
    if (const FullNumber* full = std::get_if<FullNumber>(&value)) {
        if (!std::isfinite(full->value))
            return {};
        std::array<char, 32> text {};
        const auto result = std::to_chars(text.data(), text.data() + text.size(),
            full->value == 0 ? 0.0 : full->value, std::chars_format::general, fullDigits);
        return std::string(text.data(), result.ptr);
    }
    return std::get<std::string>(value);
}

std::string csvText(const std::string& text)
{
    if (text.find_first_of(",\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

namespace {

std::string yesOrNo(const bool answer)
{
    return answer ? "yes" : "no";
}

constexpr TableColumn<AgeRow> ageColumns[] = {
    { "rate_mm_yr", [](const AgeRow& row) -> TableValue { return row.rateMmYr; } },
    { "x_m", [](const AgeRow& row) -> TableValue { return row.xM; } },
    { "elevation_m", [](const AgeRow& row) -> TableValue { return row.elevationM; } },
    { "site", [](const AgeRow& row) -> TableValue { return std::string(row.site); } },
    { "system",
        [](const AgeRow& row) -> TableValue {
            return std::string(thermochron::systemName(row.system));
        } },
    { "method",
        [](const AgeRow& row) -> TableValue {
            return std::string(thermochron::methodName(row.method));
        } },
    { "age_ma", [](const AgeRow& row) -> TableValue { return row.age.ageMa; } },
    { "raw_age_ma", [](const AgeRow& row) -> TableValue { return row.age.rawAgeMa; } },
    { "closure_temperature_c",
        [](const AgeRow& row) -> TableValue { return row.age.closureTemperatureC; } },
    { "closure_depth_m", [](const AgeRow& row) -> TableValue { return row.closureDepthM; } },
    { "reset", [](const AgeRow& row) -> TableValue { return yesOrNo(row.age.reset); } },
    { "mean_track_length_um",
        [](const AgeRow& row) -> TableValue { return row.lengths.projectedMeanUm; } },
    { "path_start_ma", [](const AgeRow& row) -> TableValue { return row.age.pathStartMa; } },
    { "kinetics",
        [](const AgeRow& row) -> TableValue {
            return std::string(thermochron::kineticsName(row.age.kinetics));
        } },
    { "track_length_sd_um",
        [](const AgeRow& row) -> TableValue { return row.lengths.projectedSdUm; } },
    { "mean_track_length_unprojected_um",
        [](const AgeRow& row) -> TableValue { return row.lengths.unprojectedMeanUm; } },
    { "track_length_sd_unprojected_um",
        [](const AgeRow& row) -> TableValue { return row.lengths.unprojectedSdUm; } },
};

constexpr std::size_t ageColumnCount = std::size(ageColumns);

constexpr auto terrainColumns = [] {
    std::array<TableColumn<AgeRow>, ageColumnCount + 2> columns {};
    for (std::size_t k = 0; k < ageColumnCount; ++k)
        columns[k] = ageColumns[k];
    for (std::size_t k = 0; k < ageColumnCount; ++k) {
        if (columns[k].name == "x_m")
            columns[k].value
                = [](const AgeRow& row) -> TableValue { return FullNumber { row.xM }; };
        if (columns[k].name == "elevation_m")
            columns[k].value
                = [](const AgeRow& row) -> TableValue { return FullNumber { row.elevationM }; };
    }
    columns[ageColumnCount]
        = { "y_m", [](const AgeRow& row) -> TableValue { return FullNumber { row.yM }; } };
    columns[ageColumnCount + 1]
        = { "sample", [](const AgeRow& row) -> TableValue { return row.sample; } };
    return columns;
}();

} // namespace

std::span<const TableColumn<AgeRow>> ageTableColumns()
{
    return ageColumns;
}

std::span<const TableColumn<AgeRow>> terrainAgeTableColumns()
{
    return terrainColumns;
}

std::span<const TableColumn<AgeRow>> ageTableKeys()
{
    constexpr std::size_t keyCount = 4; // rate_mm_yr, x_m, elevation_m, site
    return ageTableColumns().first(keyCount);
}

std::string ageTableHeader(const std::span<const TableColumn<AgeRow>> columns)
{
    std::string header;
    for (const TableColumn<AgeRow>& column : columns) {
        header += column.name;
        header += ',';
    }
    header.pop_back();
    return header;
}

std::string ageTableRow(const AgeRow& row, const std::span<const TableColumn<AgeRow>> columns)
{
    std::string line;
    line.reserve(160);
    for (const TableColumn<AgeRow>& column : columns) {
        // A sample name is the user's own words: quoted where it holds a comma or a quote.
        const TableValue value = column.value(row);
        line += std::holds_alternative<std::string>(value) ? csvText(std::get<std::string>(value))
                                                           : csvField(value);
        line += ',';
    }
    line.pop_back();
    return line;
}

void writeAgeTable(std::ostream& out, const std::vector<AgeRow>& rows,
    const std::span<const TableColumn<AgeRow>> columns)
{
    out << ageTableHeader(columns) << '\n';
    for (const AgeRow& row : rows)
        out << ageTableRow(row, columns) << '\n';
}

std::size_t lengthBlockCount(const std::vector<AgeRow>& rows)
{
    return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(),
        [](const AgeRow& row) { return !row.lengths.projectedBins.empty(); }));
}

void writeLengthTable(std::ostream& out, const std::vector<AgeRow>& rows)
{
    for (const TableColumn<AgeRow>& column : ageTableKeys())
        out << column.name << ',';
    out << "length_um,pdf_projected,pdf_unprojected\n";
    for (const AgeRow& row : rows) {
        const PredictedLengths& lengths = row.lengths;
        if (lengths.projectedBins.empty())
            continue;
        std::string keys;
        for (const TableColumn<AgeRow>& column : ageTableKeys())
            keys += csvField(column.value(row)) + ',';
        for (std::size_t k = 0; k < lengths.projectedBins.size(); ++k)
            out << keys << field((k + 0.5) * thermochron::TrackLengthDistribution::binWidthUm)
                << ',' << field(lengths.projectedBins[k]) << ','
                << field(lengths.unprojectedBins[k]) << '\n';
    }
}

void writeAgeTableFile(const std::filesystem::path& file, const std::vector<AgeRow>& rows)
{
    writeFileAtomically(file, [&](std::ostream& out) { writeAgeTable(out, rows); });
}

void writeFileAtomically(
    const std::filesystem::path& file, const std::function<void(std::ostream&)>& write)
{
    if (const auto failure = wholefile::replaceWholeFile(file.string(), write))
        throw InputError("cannot write " + file.string() + ": " + std::strerror(failure->error));
}

} // namespace ages
