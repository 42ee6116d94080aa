#include "pathfile.h"

#include "inputerror.h"
#include "pathlimits.h"
#include "strictnumber.h"
#include "textformat.h"
#include "textlines.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <vector>

namespace ages {

namespace {

constexpr std::string_view blanks = " \t\r\f\v";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// The fields of a line: split at commas when it has one, otherwise at runs of blanks.
std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    if (line.find(',') != std::string_view::npos) {
        std::size_t start = 0;
        for (;;) {
            const auto comma = line.find(',', start);
            fields.push_back(trimmed(line.substr(start, comma - start)));
            if (comma == std::string_view::npos)
                break;
            start = comma + 1;
        }
        return fields;
    }
    std::size_t pos = 0;
    while ((pos = line.find_first_not_of(blanks, pos)) != std::string_view::npos) {
        const auto end = line.find_first_of(blanks, pos);
        fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

struct NumberedPoint {
    thermochron::PathPoint point;
    int line;
    std::string timeWord; // as written, for messages
};

[[noreturn]] void refuse(const std::string& name, int line, const std::string& problem)
{
    throw InputError(name + " line " + std::to_string(line) + ": " + problem);
}

std::string lowerCase(std::string_view word)
{
    std::string lower(word);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Where the path's columns are in a line: by the header's names, or time then temperature.
struct PathColumns {
    std::size_t time = 0;
    std::size_t temperature = 1;
    bool kelvin = false; // temperature_k: converted to Celsius
    std::size_t fieldCount = 2; // every line has this many fields
    bool named = false; // found by a header's names
};

// The columns a header names. A header of other words keeps the columns by position, unless its
// first word reads as a temperature: a file with the columns swapped would otherwise be read as
// time, temperature without a word.
PathColumns headerColumns(
    const std::vector<std::string_view>& header, const std::string& name, int lineNumber)
{
    std::optional<std::size_t> time, celsius, kelvin;
    for (std::size_t k = 0; k < header.size(); ++k) {
        const std::string word = lowerCase(header[k]);
        std::optional<std::size_t>* slot = nullptr;
        if (word == "time_ma")
            slot = &time;
        else if (word == "temperature_c")
            slot = &celsius;
        else if (word == "temperature_k")
            slot = &kelvin;
        if (!slot)
            continue;
        if (*slot)
            refuse(name, lineNumber, "column " + word + " appears twice in the header");
        *slot = k;
    }
    PathColumns columns;
    if (!time && !celsius && !kelvin) {
        if (lowerCase(header.front()).starts_with("temp"))
            refuse(name, lineNumber,
                "the header's first column " + textformat::quoted(header.front())
                    + " reads as a temperature, but without the names time_ma and "
                      "temperature_c the columns are read as time, then temperature: name them");
        return columns;
    }
    std::string found;
    for (const auto word : header)
        found += (found.empty() ? "" : ", ") + textformat::printable(word);
    if (!time)
        refuse(name, lineNumber, "the header has no column time_ma (found: " + found + ")");
    if (!celsius && !kelvin)
        refuse(name, lineNumber,
            "the header has no column temperature_c or temperature_k (found: " + found + ")");
    if (celsius && kelvin)
        refuse(name, lineNumber, "the header has both temperature_c and temperature_k");
    columns.time = *time;
    columns.temperature = celsius ? *celsius : *kelvin;
    columns.kelvin = !celsius;
    columns.fieldCount = header.size();
    columns.named = true;
    return columns;
}

// Every temperature above 250 on a path that reaches the present (0 Ma): a rock at today's
// surface is not at 250 C, so the column most likely holds kelvin under a Celsius name.
constexpr double kelvinLikeAboveC = 250.0;

std::optional<std::string> kelvinLikeWarning(
    const std::vector<NumberedPoint>& points, const std::string& name)
{
    const bool reachesToday = std::any_of(points.begin(), points.end(),
        [](const NumberedPoint& p) { return p.point.timeMa == 0; });
    const bool allHot = std::all_of(points.begin(), points.end(),
        [](const NumberedPoint& p) { return p.point.temperatureC > kelvinLikeAboveC; });
    if (points.empty() || !reachesToday || !allHot)
        return std::nullopt;
    return textformat::warningLine(name + ": every temperature lies above "
        + textformat::number(kelvinLikeAboveC)
        + " C, today's too: are they kelvin? A column named temperature_k is converted");
}

} // namespace

SamplePath readCoolingPath(
    std::istream& in, const std::string& name, std::vector<std::string>* warnings)
{
    std::vector<NumberedPoint> points;
    std::optional<PathColumns> columns;
    textlines::LineReader lines(in);
    std::string text;
    for (;;) {
        try {
            if (!lines.next(text))
                break;
        } catch (const std::length_error& error) {
            throw InputError(name + " " + error.what());
        }
        const int lineNumber = lines.lineNumber();
        const std::string_view line = trimmed(text);
        if (line.empty())
            continue;
        const std::vector<std::string_view> fields = fieldsOf(line);
        if (!columns) {
            // A header has no number among its words; a line of numbers with one mistyped
            // ("4O 150") is a point, refused below, and not a header to skip.
            const bool header = std::none_of(fields.begin(), fields.end(),
                [](std::string_view field) { return decimal::strictDouble(field).has_value(); });
            columns = header ? headerColumns(fields, name, lineNumber) : PathColumns {};
            if (header)
                continue;
        }
        if (fields.size() != columns->fieldCount) {
            if (columns->named)
                refuse(name, lineNumber,
                    "has " + std::to_string(fields.size()) + " fields, the header "
                        + std::to_string(columns->fieldCount));
            refuse(name, lineNumber,
                "expected two numbers, time_ma and temperature_c, got " + textformat::quoted(line));
        }
        const std::string_view timeWord = fields[columns->time];
        const std::string_view temperatureWord = fields[columns->temperature];
        const auto time = decimal::strictDouble(timeWord);
        const auto reading = decimal::strictDouble(temperatureWord);
        if (!time || !reading)
            refuse(name, lineNumber,
                textformat::quoted(time ? temperatureWord : timeWord) + " is not a number");
        const double temperature = columns->kelvin ? *reading + absoluteZeroC : *reading;
        const std::string unit = columns->kelvin ? " K" : " C";
        if (*time < 0)
            refuse(name, lineNumber,
                "time " + std::string(timeWord) + " Ma lies in the future "
                    + "(times are Ma before present, 0 or more)");
        if (*time > oldestPathMa)
            refuse(name, lineNumber,
                "time " + std::string(timeWord) + " Ma is older than the Earth ("
                    + textformat::number(oldestPathMa) + " Ma)");
        if (temperature < absoluteZeroC)
            refuse(name, lineNumber,
                "temperature " + std::string(temperatureWord) + unit + " lies below absolute zero");
        if (temperature > hottestPathC)
            refuse(name, lineNumber,
                "temperature " + std::string(temperatureWord) + unit + " lies above "
                    + textformat::number(hottestPathC) + " C, where every rock is molten");
        points.push_back({ { *time, temperature }, lineNumber, std::string(timeWord) });
    }
    if (in.bad())
        throw InputError("cannot read path file " + name);

    if (points.size() < 2)
        throw InputError(name + ": a cooling path needs at least 2 points, found "
            + std::to_string(points.size()));
    if (warnings && !columns->kelvin)
        if (auto warning = kelvinLikeWarning(points, name))
            warnings->push_back(std::move(*warning));

    // Oldest first; equal times stay in file order so that the later line is the one named.
    std::stable_sort(
        points.begin(), points.end(), [](const NumberedPoint& a, const NumberedPoint& b) {
            return a.point.timeMa > b.point.timeMa;
        });
    for (std::size_t k = 1; k < points.size(); ++k) {
        const NumberedPoint& earlier = points[k - 1];
        const NumberedPoint& later = points[k];
        if (later.point.timeMa == earlier.point.timeMa)
            refuse(name, later.line,
                "time " + later.timeWord + " Ma repeats line " + std::to_string(earlier.line));
    }

    SamplePath sample;
    sample.path.reserve(points.size());
    for (const NumberedPoint& numbered : points)
        sample.path.push_back(numbered.point);
    return sample;
}

SamplePath readCoolingPathFile(
    const std::filesystem::path& file, std::vector<std::string>* warnings)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored))
        throw InputError("cannot read path file " + file.string() + ": it is a directory");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw InputError("cannot open path file " + file.string() + ": " + std::strerror(errno));
    return readCoolingPath(in, file.string(), warnings);
}

} // namespace ages
