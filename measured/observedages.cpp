#include "observedages.h"

#include "cataloguetext.h"
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
#include <sstream>
#include <stdexcept>

namespace ages {

namespace {

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
    Depth,
    Temperature,
    SigmaTemperature,
    HeatFlow,
    SigmaHeatFlow,
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
    ColumnName { Column::Depth, "depth_m", false },
    ColumnName { Column::Temperature, "temperature_c", false },
    ColumnName { Column::SigmaTemperature, "sigma_c", false },
    ColumnName { Column::HeatFlow, "heat_flow_mw_m2", false },
    ColumnName { Column::SigmaHeatFlow, "sigma_mw_m2", false },
};

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// One field: blanks around it and a pair of double quotes around that are not part of the value.
std::string_view fieldValue(std::string_view text)
{
    text = trimmed(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = trimmed(text.substr(1, text.size() - 2));
    }
    return text;
}

// The next comma that ends a field at or after start: commas inside double quotes are part of
// the field, as a spreadsheet (or pandas' to_csv) quotes a sample name that holds one.
std::size_t fieldEnd(std::string_view line, std::size_t start)
{
    bool quoted = false;
    for (std::size_t i = start; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ',' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = fieldEnd(line, start);
        fields.push_back(fieldValue(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

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

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// A header of one field that holds a semicolon or a tab: a file saved with another separator,
// as spreadsheets in many locales do. The separator's name, or nothing.
std::optional<std::string_view> otherSeparator(std::string_view headerLine)
{
    if (headerLine.find(',') != std::string_view::npos) {
        return std::nullopt;
    }
    if (headerLine.find(';') != std::string_view::npos) {
        return "semicolons";
    }
    if (headerLine.find('\t') != std::string_view::npos) {
        return "tabs";
    }
    return std::nullopt;
}

// The number of single-character insertions, deletions and substitutions between a and b.
std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j)
            current[j] = std::min({ previous[j] + 1, current[j - 1] + 1,
                previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1) });
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// A known column the name was most likely meant to be: the name is a known column without its
// unit suffix (dpar for dpar_um), or within two edits of one (eu_ppm for u_ppm). A column so
// near a known one is a typo that would silently fit every sample with the default grain.
constexpr std::size_t nearMissEdits = 2;

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
        if (edits < fewest) {
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
        std::ostringstream limit;
        limit << oldestPathMa;
        row.refuse("age_ma " + std::string(row.text(Column::Age)) + " is older than the Earth ("
            + limit.str() + " Ma): ages are in Ma, was it typed in ka?");
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
        const auto fields = splitFields(content);
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
    const auto number = [](double value) {
        std::ostringstream text;
        text << value;
        return text.str();
    };
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
