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
    return std::get<std::string>(value);
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

} // namespace

std::span<const TableColumn<AgeRow>> ageTableColumns()
{
    return ageColumns;
}

std::span<const TableColumn<AgeRow>> ageTableKeys()
{
    constexpr std::size_t keyCount = 4; // rate_mm_yr, x_m, elevation_m, site
    return ageTableColumns().first(keyCount);
}

std::string ageTableHeader()
{
    std::string header;
    for (const TableColumn<AgeRow>& column : ageTableColumns()) {
        header += column.name;
        header += ',';
    }
    header.pop_back();
    return header;
}

std::string ageTableRow(const AgeRow& row)
{
    std::string line;
    line.reserve(160);
    for (const TableColumn<AgeRow>& column : ageTableColumns()) {
        line += csvField(column.value(row));
        line += ',';
    }
    line.pop_back();
    return line;
}

void writeAgeTable(std::ostream& out, const std::vector<AgeRow>& rows)
{
    out << ageTableHeader() << '\n';
    for (const AgeRow& row : rows)
        out << ageTableRow(row) << '\n';
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
