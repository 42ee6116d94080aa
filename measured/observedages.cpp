#include "observedages.h"

#include "cataloguetext.h"
#include "csvfields.h"
#include "pathlimits.h"
#include "strictnumber.h"
#include "textformat.h"
#include "textlines.h"
#include "thermochron/catalogue.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <stdexcept>

namespace ages {

namespace {

using csv::editDistance;
using csv::lowerCase;
using csv::otherSeparator;
using csv::splitFields;
using csv::trimmed;

enum class Column {
    Sample,
    System,
    Age,
    Sigma,
    Elevation,
    Radius,
    U,
    Th,
    Sm,
    Dpar,
    X,
    Y,
    Lon,
    Lat,
    Depth,
    Temperature,
    SigmaTemperature,
    HeatFlow,
    SigmaHeatFlow
};

struct ColumnName {
    Column column;
    std::string_view name;
    bool required;
};

constexpr std::array columnNames {
    ColumnName { Column::Sample, "sample", true },
    ColumnName { Column::System, "system", true },
    ColumnName { Column::Age, "age_ma", true },
    ColumnName { Column::Sigma, "sigma_ma", true },
    ColumnName { Column::Elevation, "elevation_m", false },
    ColumnName { Column::Radius, "radius_um", false },
    ColumnName { Column::U, "u_ppm", false },
    ColumnName { Column::Th, "th_ppm", false },
    ColumnName { Column::Sm, "sm_ppm", false },
    ColumnName { Column::Dpar, "dpar_um", false },
    ColumnName { Column::X, "x_m", false },
    ColumnName { Column::Y, "y_m", false },
    ColumnName { Column::Lon, "lon", false },
    ColumnName { Column::Lat, "lat", false },
    ColumnName { Column::Depth, "depth_m", false },
    ColumnName { Column::Temperature, "temperature_c", false },
    ColumnName { Column::SigmaTemperature, "sigma_c", false },
    ColumnName { Column::HeatFlow, "heat_flow_mw_m2", false },
    ColumnName { Column::SigmaHeatFlow, "sigma_mw_m2", false },
};

} // namespace

std::vector<std::string_view> splitObservedFields(const std::string_view line)
{
    return csv::splitFields(line);
}

namespace {

constexpr double smallestSigmaShare = 1e-6;
constexpr double smallestSigmaMa = 1e-6;

class RowReader {
public:
    RowReader(std::string_view fileName, int line, const std::vector<std::string_view>& fields,
        const std::map<Column, std::size_t>& columns)
        : m_fileName(fileName)
        , m_line(line)
        , m_fields(fields)
        , m_columns(columns)
    {
    }

    [[noreturn]] void refuse(const std::string& reason) const
    {
        throw ObservedAgesError(
            std::string(m_fileName) + " line " + std::to_string(m_line) + ": " + reason);
    }

    std::string_view text(Column column) const { return m_fields[m_columns.at(column)]; }

    double number(Column column) const
    {
        const auto word = text(column);
        const auto value = decimal::strictDouble(word);
        if (!value) {
            refuse(std::string(nameOf(column)) + " is not a number: " + textformat::quoted(word));
        }
        return *value;
    }

    // An optional column: absent from the file or left empty in this row gives nullopt.
    std::optional<double> optionalNumber(Column column) const
    {
        if (!m_columns.contains(column) || text(column).empty()) {
            return std::nullopt;
        }
        return number(column);
    }

    static std::string_view nameOf(Column column)
    {
        for (const auto& entry : columnNames) {
            if (entry.column == column) {
                return entry.name;
            }
        }
        return {};
    }

private:
    std::string_view m_fileName;
    int m_line;
    const std::vector<std::string_view>& m_fields;
    const std::map<Column, std::size_t>& m_columns;
};

// A known column the name was most likely meant to be: the name is a known column without its
// unit suffix (dpar for dpar_um), or within two edits of one (eu_ppm for u_ppm), one for the
// names of three letters (long for lon, x_km for x_m), so that the short names of other columns
// of a data sheet (n, ft, id) stay unknown columns rather than typos. A column so near a known
// one is a typo that would silently fit every sample with the default grain, or place it
// wrongly.
constexpr std::size_t nearMissEdits = 2;
constexpr std::size_t shortNameLength = 3;

std::size_t allowedEdits(std::string_view knownName)
{
    return knownName.size() <= shortNameLength ? 1 : nearMissEdits;
}

std::optional<std::string_view> meantColumn(std::string_view name)
{
    for (const auto& entry : columnNames) {
        if (entry.name.starts_with(name) && entry.name.size() > name.size()
            && entry.name[name.size()] == '_') {
            return entry.name;
        }
    }
    std::optional<std::string_view> nearest;
    std::size_t fewest = nearMissEdits + 1;
    for (const auto& entry : columnNames) {
        const std::size_t edits = editDistance(name, entry.name);
        if (edits < fewest && edits <= allowedEdits(entry.name)) {
            fewest = edits;
            nearest = entry.name;
        }
    }
    return nearest;
}

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const auto& word : words) {
        text += (text.empty() ? "" : ", ") + word;
    }
    return text;
}

std::map<Column, std::size_t> headerColumns(std::string_view headerLine,
    const std::vector<std::string_view>& header, std::string_view fileName, int line,
    std::vector<std::string>& ignored)
{
    const auto refuse = [&](const std::string& reason) {
        throw ObservedAgesError(
            std::string(fileName) + " line " + std::to_string(line) + ": " + reason);
    };
    if (const auto separator = otherSeparator(headerLine)) {
        refuse("the header is separated by " + std::string(*separator)
            + ", not commas: save the file as CSV with commas between the fields");
    }
    std::map<Column, std::size_t> columns;
    for (std::size_t index = 0; index < header.size(); ++index) {
        const std::string name = lowerCase(header[index]); // Age_Ma reads as age_ma
        bool known = false;
        for (const auto& entry : columnNames) {
            if (name == entry.name) {
                if (columns.contains(entry.column)) {
                    refuse("column " + std::string(entry.name) + " appears twice in the header");
                }
                columns[entry.column] = index;
                known = true;
            }
        }
        if (known || name.empty()) {
            continue;
        }
        if (const auto meant = meantColumn(name)) {
            refuse("unknown column " + textformat::quoted(header[index]) + ": did you mean "
                + std::string(*meant) + "?");
        }
        ignored.push_back(textformat::printable(header[index]));
    }
    for (const auto& entry : columnNames) {
        if (entry.required && !columns.contains(entry.column)) {
            std::string found;
            for (const auto field : header) {
                found += (found.empty() ? "" : ", ") + textformat::printable(field);
            }
            refuse("the header lacks the required column " + std::string(entry.name)
                + " (required: sample, system, age_ma, sigma_ma; found: " + found + ")");
        }
    }
    return columns;
}

ObservedAge readRow(const RowReader& row, int line)
{
    ObservedAge sample;
    sample.line = line;
    sample.sample = std::string(row.text(Column::Sample));
    if (sample.sample.empty()) {
        row.refuse("the sample name is empty");
    }
    const auto systemWord = row.text(Column::System);
    const auto system = thermochron::parseSystemIgnoringCase(systemWord);
    if (!system) {
        row.refuse(
            "unknown system " + textformat::quoted(systemWord) + " (known: " + systemNames() + ")");
    }
    sample.system = *system;
    sample.ageMa = row.number(Column::Age);
    if (sample.ageMa < 0) {
        row.refuse("age_ma must not be negative, got " + std::string(row.text(Column::Age)));
    }
    if (sample.ageMa > oldestPathMa) {
        row.refuse("age_ma " + std::string(row.text(Column::Age)) + " is older than the Earth ("
            + textformat::number(oldestPathMa) + " Ma): ages are in Ma, was it typed in ka?");
    }
    sample.sigmaMa = row.number(Column::Sigma);
    if (sample.sigmaMa <= 0) {
        row.refuse("sigma_ma must be > 0, got " + std::string(row.text(Column::Sigma)));
    }
    // A sigma of a millionth of the age (or of a year) is beyond any measurement, and a smaller
    // one would make chi2 overflow to infinity on the first misfit.
    if (sample.sigmaMa < smallestSigmaShare * sample.ageMa || sample.sigmaMa < smallestSigmaMa) {
        row.refuse("sigma_ma " + std::string(row.text(Column::Sigma))
            + " is below a millionth of the age and below 1e-06 Ma (a year): no dating is "
              "that precise; is it a relative error or in other units?");
    }
    sample.elevationM = row.optionalNumber(Column::Elevation);
    sample.radiusUm = row.optionalNumber(Column::Radius);
    sample.uPpm = row.optionalNumber(Column::U);
    sample.thPpm = row.optionalNumber(Column::Th);
    sample.smPpm = row.optionalNumber(Column::Sm);
    sample.dparUm = row.optionalNumber(Column::Dpar);
    sample.xM = row.optionalNumber(Column::X);
    sample.yM = row.optionalNumber(Column::Y);
    sample.longitudeDeg = row.optionalNumber(Column::Lon);
    sample.latitudeDeg = row.optionalNumber(Column::Lat);
    for (const auto& [first, second] :
        { std::pair { Column::X, Column::Y }, std::pair { Column::Lon, Column::Lat } }) {
        const bool hasFirst = row.optionalNumber(first).has_value();
        if (hasFirst != row.optionalNumber(second).has_value())
            row.refuse(std::string(RowReader::nameOf(hasFirst ? first : second))
                + " is given without " + std::string(RowReader::nameOf(hasFirst ? second : first))
                + ": a position needs both");
    }
    if (sample.longitudeDeg && !(std::fabs(*sample.longitudeDeg) <= 180))
        row.refuse("lon must be -180 to 180 degrees, got " + std::string(row.text(Column::Lon)));
    if (sample.latitudeDeg && !(std::fabs(*sample.latitudeDeg) <= 90))
        row.refuse("lat must be -90 to 90 degrees, got " + std::string(row.text(Column::Lat)));
    sample.depthM = row.optionalNumber(Column::Depth);
    if (sample.depthM && *sample.depthM < 0) {
        row.refuse("depth_m is the depth below today's surface, 0 or more, got "
            + std::string(row.text(Column::Depth)));
    }
    return sample;
}

// The value of a column a row of system T or Q needs: present and a number.
double neededNumber(const RowReader& row, const std::map<Column, std::size_t>& columns,
    Column column, std::string_view what)
{
    if (!columns.contains(column) || row.text(column).empty()) {
        row.refuse(std::string(what) + " needs a value in column "
            + std::string(RowReader::nameOf(column)));
    }
    return row.number(column);
}

// A sigma of a row of system T or Q: needed, and above 0.
double neededSigma(const RowReader& row, const std::map<Column, std::size_t>& columns,
    Column column, std::string_view what)
{
    const double sigma = neededNumber(row, columns, column, what);
    if (!(sigma > 0)) {
        row.refuse(std::string(RowReader::nameOf(column)) + " must be > 0, got "
            + std::string(row.text(column)));
    }
    return sigma;
}

// A row of system T or Q measures no age: its age columns stay empty.
void refuseAge(const RowReader& row, std::string_view what)
{
    if (!row.text(Column::Age).empty() || !row.text(Column::Sigma).empty()) {
        row.refuse(std::string(what) + " measures no age: leave age_ma and sigma_ma empty");
    }
}

ObservedTemperature readTemperatureRow(
    const RowReader& row, const std::map<Column, std::size_t>& columns, int line)
{
    constexpr std::string_view what = "a row of system T (a temperature today at a depth)";
    refuseAge(row, what);
    ObservedTemperature measured;
    measured.line = line;
    measured.sample = std::string(row.text(Column::Sample));
    measured.depthM = neededNumber(row, columns, Column::Depth, what);
    if (measured.depthM < 0) {
        row.refuse("depth_m is the depth below today's surface, 0 or more, got "
            + std::string(row.text(Column::Depth)));
    }
    measured.elevationM = row.optionalNumber(Column::Elevation);
    measured.temperatureC = neededNumber(row, columns, Column::Temperature, what);
    measured.sigmaC = neededSigma(row, columns, Column::SigmaTemperature, what);
    return measured;
}

ObservedHeatFlow readHeatFlowRow(
    const RowReader& row, const std::map<Column, std::size_t>& columns, int line)
{
    constexpr std::string_view what = "a row of system Q (the surface heat flow today)";
    refuseAge(row, what);
    ObservedHeatFlow measured;
    measured.line = line;
    measured.sample = std::string(row.text(Column::Sample));
    measured.heatFlowMWm2 = neededNumber(row, columns, Column::HeatFlow, what);
    measured.sigmaMWm2 = neededSigma(row, columns, Column::SigmaHeatFlow, what);
    return measured;
}

bool isSystem(std::string_view word, char letter)
{
    return word.size() == 1 && std::toupper(static_cast<unsigned char>(word[0])) == letter;
}

} // namespace

ObservedData parseObservedData(
    std::istream& text, const std::string_view fileName, std::vector<std::string>* notes)
{
    std::map<Column, std::size_t> columns;
    std::size_t headerFieldCount = 0;
    ObservedData data;
    std::vector<ObservedAge>& samples = data.ages;
    std::string line;
    textlines::LineReader lines(text);
    for (;;) {
        try {
            if (!lines.next(line))
                break;
        } catch (const std::length_error& error) {
            throw ObservedAgesError(std::string(fileName) + " " + error.what());
        }
        const int lineNumber = lines.lineNumber();
        const auto content = trimmed(line);
        if (content.empty() || content.front() == '#') {
            continue;
        }
        const auto fields = splitObservedFields(content);
        if (headerFieldCount == 0) {
            std::vector<std::string> ignored;
            columns = headerColumns(content, fields, fileName, lineNumber, ignored);
            headerFieldCount = fields.size();
            if (notes && !ignored.empty()) {
                notes->push_back(textformat::noteLine(
                    std::string(fileName) + ": ignored columns: " + joined(ignored)));
            }
            continue;
        }
        const RowReader row(fileName, lineNumber, fields, columns);
        if (fields.size() != headerFieldCount) {
            row.refuse("has " + std::to_string(fields.size()) + " fields, the header "
                + std::to_string(headerFieldCount));
        }
        const auto systemWord = row.text(Column::System);
        if (isSystem(systemWord, 'T'))
            data.temperatures.push_back(readTemperatureRow(row, columns, lineNumber));
        else if (isSystem(systemWord, 'Q'))
            data.heatFlows.push_back(readHeatFlowRow(row, columns, lineNumber));
        else
            samples.push_back(readRow(row, lineNumber));
    }
    if (text.bad()) {
        throw ObservedAgesError(std::string(fileName) + ": cannot be read");
    }
    if (headerFieldCount == 0) {
        throw ObservedAgesError(
            std::string(fileName) + ": no header row (sample, system, age_ma, sigma_ma ...)");
    }
    if (samples.empty()) {
        throw ObservedAgesError(std::string(fileName) + ": no samples after the header");
    }
    return data;
}

ObservedData readObservedData(const std::filesystem::path& file, std::vector<std::string>* notes)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        throw ObservedAgesError(file.string() + ": cannot be read");
    }
    return parseObservedData(stream, file.string(), notes);
}

std::vector<ObservedAge> agesOnly(ObservedData data, const std::string_view fileName)
{
    const int line = !data.temperatures.empty() ? data.temperatures.front().line
        : !data.heatFlows.empty()               ? data.heatFlows.front().line
                                                : 0;
    if (line != 0) {
        throw ObservedAgesError(std::string(fileName) + " line " + std::to_string(line)
            + ": rows of system T (temperatures) and Q (heat flow) are data of cooling_ages "
              "history's column only");
    }
    for (const ObservedAge& sample : data.ages) {
        if (sample.depthM) {
            throw ObservedAgesError(std::string(fileName) + " line " + std::to_string(sample.line)
                + ": depth_m places a sample below the surface, which only cooling_ages history "
                  "models");
        }
    }
    return std::move(data.ages);
}

std::vector<ObservedAge> parseObservedAges(
    std::istream& text, const std::string_view fileName, std::vector<std::string>* notes)
{
    return agesOnly(parseObservedData(text, fileName, notes), fileName);
}

std::vector<ObservedAge> readObservedAges(
    const std::filesystem::path& file, std::vector<std::string>* notes)
{
    return agesOnly(readObservedData(file, notes), file.string());
}

std::optional<std::string> sigmaAboveAgeWarning(
    const std::vector<ObservedAge>& samples, const std::string_view fileName)
{
    std::vector<int> lines;
    for (const auto& sample : samples) {
        if (sample.sigmaMa > sample.ageMa) {
            lines.push_back(sample.line);
        }
    }
    if (lines.empty()) {
        return std::nullopt;
    }
    constexpr std::size_t linesNamed = 5;
    std::string named;
    for (std::size_t i = 0; i < std::min(lines.size(), linesNamed); ++i) {
        named += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    }
    if (lines.size() > linesNamed) {
        named += ", ...";
    }
    return "warning: " + std::string(fileName) + ": sigma_ma exceeds age_ma in "
        + std::to_string(lines.size()) + (lines.size() == 1 ? " row" : " rows") + " (line"
        + (lines.size() == 1 ? " " : "s ") + named
        + "): such an age hardly constrains the fit; check that sigma_ma is one standard error "
          "in Ma";
}

std::optional<std::string> elevationOutsideRelief(const std::vector<ObservedAge>& samples,
    const std::string_view fileName, const double meanElevationM, const double reliefAmplitudeM)
{
    const auto number = [](double value) { return textformat::number(value); };
    for (const auto& sample : samples) {
        const auto where = std::string(fileName) + " line " + std::to_string(sample.line) + ": ";
        if (!sample.elevationM) {
            return where + "sample " + sample.sample
                + " has no elevation_m, which a periodic model needs to place it";
        }
        const double modelElevation = *sample.elevationM - meanElevationM;
        if (std::abs(modelElevation) > reliefAmplitudeM) {
            return where + "elevation " + number(*sample.elevationM) + " m lies at "
                + number(modelElevation) + " m in the model (--mean-elevation "
                + number(meanElevationM) + "), outside its relief from " + number(-reliefAmplitudeM)
                + " to " + number(reliefAmplitudeM) + " m";
        }
    }
    return std::nullopt;
}

} // namespace ages
