#include "tracklengthfile.h"

#include "csvfields.h"
#include "strictnumber.h"
#include "textformat.h"
#include "textlines.h"
#include "thermochron/caxisprojection.h"

#include <array>
#include <fstream>
#include <map>

namespace ages {

namespace {

enum class Column { Sample, Length, Angle, Dpar };

struct ColumnName {
    Column column;
    std::string_view name;
    bool required;
};

constexpr std::array columnNames {
    ColumnName { Column::Sample, "sample", true },
    ColumnName { Column::Length, "length_um", true },
    ColumnName { Column::Angle, "angle_deg", false },
    ColumnName { Column::Dpar, "dpar_um", false },
};

std::string_view nameOf(Column column)
{
    for (const auto& entry : columnNames)
        if (entry.column == column)
            return entry.name;
    return {};
}

// A known column that name was most likely meant to be: a known name without its unit suffix
// (angle for angle_deg) or within two edits of one (lenght_um).
constexpr std::size_t nearMissEdits = 2;

std::optional<std::string_view> meantColumn(std::string_view name)
{
    for (const auto& entry : columnNames) {
        if (entry.name.starts_with(name) && entry.name.size() > name.size()
            && entry.name[name.size()] == '_')
            return entry.name;
        if (csv::editDistance(name, entry.name) <= nearMissEdits)
            return entry.name;
    }
    return std::nullopt;
}

// One track as read: its line, length, angle and Dpar.
struct Track {
    double lengthUm;
    std::optional<double> angleDegrees;
    std::optional<double> dparUm;
};

class LineRefusal {
public:
    LineRefusal(std::string_view fileName, int line)
        : m_where(std::string(fileName) + " line " + std::to_string(line) + ": ")
    {
    }
    [[noreturn]] void operator()(const std::string& reason) const
    {
        throw TrackLengthsError(m_where + reason);
    }

private:
    std::string m_where;
};

double numberOf(std::string_view word, std::string_view name, const LineRefusal& refuse)
{
    const auto value = decimal::strictDouble(word);
    if (!value)
        refuse(std::string(name) + " is not a number: " + textformat::quoted(word));
    return *value;
}

// The checks of every track, in both forms.
Track checkedTrack(double lengthUm, std::optional<double> angleDegrees,
    std::optional<double> dparUm, const LineRefusal& refuse)
{
    if (lengthUm < shortestMeasuredTrackUm)
        refuse("length " + textformat::number(lengthUm) + " um is below "
            + textformat::number(shortestMeasuredTrackUm)
            + " um, shorter than any track the model lets be measured");
    if (lengthUm > longestMeasuredTrackUm)
        refuse("length " + textformat::number(lengthUm) + " um is beyond "
            + textformat::number(longestMeasuredTrackUm) + " um, longer than any apatite track");
    if (angleDegrees && !(*angleDegrees >= 0 && *angleDegrees <= 90))
        refuse("angle_deg " + textformat::number(*angleDegrees)
            + " is outside 0 to 90 degrees to the c axis");
    if (dparUm && !(*dparUm > 0))
        refuse("dpar_um " + textformat::number(*dparUm) + " must be positive");
    return { lengthUm, angleDegrees, dparUm };
}

// The samples, each once, with their tracks projected where they have an angle.
class SampleCollector {
public:
    void add(const std::string& sample, int line, const Track& track)
    {
        auto found = m_index.find(sample);
        if (found == m_index.end()) {
            found = m_index.emplace(sample, m_samples.size()).first;
            SampleLengths added;
            added.sample = sample;
            added.firstLine = line;
            m_samples.push_back(std::move(added));
            m_dparSums.push_back({ 0.0, 0 });
        }
        SampleLengths& lengths = m_samples[found->second];
        if (track.angleDegrees) {
            // No longer than the track itself where it could reach 20 um: beyond lc = 17.2 um
            // the ellipse's a-axis semi-axis la = 1.632 lc - 10.879 um is the longer one.
            lengths.projectedUm.push_back(
                thermochron::caxisProjectedLengthUm(track.lengthUm, *track.angleDegrees));
        } else {
            lengths.unprojectedUm.push_back(track.lengthUm);
        }
        if (track.dparUm) {
            auto& [sum, count] = m_dparSums[found->second];
            sum += *track.dparUm;
            ++count;
        }
    }

    std::vector<SampleLengths> samples()
    {
        for (std::size_t k = 0; k < m_samples.size(); ++k)
            if (const auto [sum, count] = m_dparSums[k]; count > 0)
                m_samples[k].dparUm = sum / count;
        return std::move(m_samples);
    }

    bool empty() const { return m_samples.empty(); } // no track yet

private:
    std::vector<SampleLengths> m_samples;
    std::vector<std::pair<double, int>> m_dparSums;
    std::map<std::string, std::size_t> m_index;
};

std::map<Column, std::size_t> headerColumns(std::string_view headerLine,
    const std::vector<std::string_view>& header, const LineRefusal& refuse,
    std::vector<std::string>& ignored)
{
    if (const auto separator = csv::otherSeparator(headerLine))
        refuse("the header is separated by " + std::string(*separator)
            + ", not commas: save the file as CSV with commas between the fields");
    std::map<Column, std::size_t> columns;
    for (std::size_t index = 0; index < header.size(); ++index) {
        const std::string name = csv::lowerCase(header[index]);
        bool known = false;
        for (const auto& entry : columnNames) {
            if (name != entry.name)
                continue;
            if (columns.contains(entry.column))
                refuse("column " + std::string(entry.name) + " appears twice in the header");
            columns[entry.column] = index;
            known = true;
        }
        if (known || name.empty())
            continue;
        if (const auto meant = meantColumn(name))
            refuse("unknown column " + textformat::quoted(header[index]) + ": did you mean "
                + std::string(*meant) + "?");
        ignored.push_back(textformat::printable(header[index]));
    }
    for (const auto& entry : columnNames) {
        if (entry.required && !columns.contains(entry.column)) {
            std::string found;
            for (const auto field : header)
                found += (found.empty() ? "" : ", ") + textformat::printable(field);
            refuse("the header lacks the required column " + std::string(entry.name)
                + " (required: sample, length_um; optional: angle_deg, dpar_um; found: " + found
                + "); a file of lengths alone takes --lengths-sample NAME");
        }
    }
    return columns;
}

// The words of a plain line, separated by blanks or tabs.
std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> found;
    std::size_t start = 0;
    while ((start = line.find_first_not_of(" \t\r", start)) != std::string_view::npos) {
        const std::size_t end = line.find_first_of(" \t\r", start);
        found.push_back(line.substr(start, end - start));
        start = end;
    }
    return found;
}

void readPlainLine(std::string_view content, const std::string& sample, int line,
    const LineRefusal& refuse, SampleCollector& collector)
{
    const std::vector<std::string_view> fields = words(content);
    if (fields.size() > 3)
        refuse("has " + std::to_string(fields.size())
            + " words: a line of the plain form is length_um [angle_deg [dpar_um]]");
    if (!decimal::strictDouble(fields[0]) && collector.empty())
        refuse("length_um is not a number: " + textformat::quoted(fields[0])
            + " (the plain form of --lengths-sample has no header; a CSV with a header takes "
              "--lengths without --lengths-sample)");
    const double length = numberOf(fields[0], "length_um", refuse);
    const std::optional<double> angle = fields.size() > 1
        ? std::optional(numberOf(fields[1], "angle_deg", refuse))
        : std::nullopt;
    const std::optional<double> dpar
        = fields.size() > 2 ? std::optional(numberOf(fields[2], "dpar_um", refuse)) : std::nullopt;
    collector.add(sample, line, checkedTrack(length, angle, dpar, refuse));
}

} // namespace

std::vector<SampleLengths> parseTrackLengths(std::istream& text, const std::string_view fileName,
    const std::optional<std::string>& plainSample, std::vector<std::string>* notes)
{
    if (plainSample && plainSample->empty())
        throw TrackLengthsError("--lengths-sample: the sample name is empty");
    SampleCollector collector;
    std::map<Column, std::size_t> columns;
    std::size_t headerFieldCount = 0;
    textlines::LineReader lines(text);
    std::string line;
    for (;;) {
        try {
            if (!lines.next(line))
                break;
        } catch (const std::length_error& error) {
            throw TrackLengthsError(std::string(fileName) + " " + error.what());
        }
        const int lineNumber = lines.lineNumber();
        const LineRefusal refuse(fileName, lineNumber);
        const std::string_view content = csv::trimmed(line);
        if (content.empty() || content.front() == '#')
            continue;
        if (plainSample) {
            readPlainLine(content, *plainSample, lineNumber, refuse, collector);
            continue;
        }
        const std::vector<std::string_view> fields = csv::splitFields(content);
        if (headerFieldCount == 0) {
            std::vector<std::string> ignored;
            columns = headerColumns(content, fields, refuse, ignored);
            headerFieldCount = fields.size();
            if (notes && !ignored.empty()) {
                std::string named;
                for (const std::string& name : ignored)
                    named += (named.empty() ? "" : ", ") + name;
                notes->push_back(
                    textformat::noteLine(std::string(fileName) + ": ignored columns: " + named));
            }
            continue;
        }
        if (fields.size() != headerFieldCount)
            refuse("has " + std::to_string(fields.size()) + " fields, the header "
                + std::to_string(headerFieldCount));
        const auto field = [&](Column column) { return fields[columns.at(column)]; };
        const auto optionalNumber = [&](Column column) -> std::optional<double> {
            if (!columns.contains(column) || field(column).empty())
                return std::nullopt;
            return numberOf(field(column), nameOf(column), refuse);
        };
        const std::string sample(field(Column::Sample));
        if (sample.empty())
            refuse("the sample name is empty");
        const double length = numberOf(field(Column::Length), "length_um", refuse);
        collector.add(sample, lineNumber,
            checkedTrack(
                length, optionalNumber(Column::Angle), optionalNumber(Column::Dpar), refuse));
    }
    if (text.bad())
        throw TrackLengthsError(std::string(fileName) + ": cannot be read");
    if (!plainSample && headerFieldCount == 0)
        throw TrackLengthsError(std::string(fileName)
            + ": no header row (sample, length_um ...); a file of lengths alone takes "
              "--lengths-sample NAME");
    if (collector.empty())
        throw TrackLengthsError(std::string(fileName) + ": no track lengths");
    return collector.samples();
}

std::vector<SampleLengths> readTrackLengths(const std::filesystem::path& file,
    const std::optional<std::string>& plainSample, std::vector<std::string>* notes)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        throw TrackLengthsError(file.string() + ": cannot be read");
    return parseTrackLengths(stream, file.string(), plainSample, notes);
}

} // namespace ages
