#include "pathfile.h"

#include "inputerror.h"
#include "pathlimits.h"
#include "strictnumber.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
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

// A limit as the messages show it.
std::string numberText(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

// 'text', quoted as in the messages.
std::string quoted(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + 2);
    result.append(1, '\'').append(text).append(1, '\'');
    return result;
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

} // namespace

SamplePath readCoolingPath(std::istream& in, const std::string& name)
{
    std::vector<NumberedPoint> points;
    bool firstLine = true;
    std::string text;
    for (int lineNumber = 1; std::getline(in, text); ++lineNumber) {
        const std::string_view line = trimmed(text);
        if (line.empty())
            continue;
        const std::vector<std::string_view> fields = fieldsOf(line);
        const bool header = firstLine && !decimal::strictDouble(fields.front());
        firstLine = false;
        if (header)
            continue;
        if (fields.size() != 2)
            refuse(name, lineNumber,
                "expected two numbers, time_ma and temperature_c, got " + quoted(line));
        const auto time = decimal::strictDouble(fields[0]);
        const auto temperature = decimal::strictDouble(fields[1]);
        if (!time || !temperature) {
            const std::string_view bad = time ? fields[1] : fields[0];
            refuse(name, lineNumber, quoted(bad) + " is not a number");
        }
        if (*time < 0)
            refuse(name, lineNumber,
                "time " + std::string(fields[0]) + " Ma lies in the future "
                    + "(times are Ma before present, 0 or more)");
        if (*time > oldestPathMa)
            refuse(name, lineNumber,
                "time " + std::string(fields[0]) + " Ma is older than the Earth ("
                    + numberText(oldestPathMa) + " Ma)");
        if (*temperature < absoluteZeroC)
            refuse(name, lineNumber,
                "temperature " + std::string(fields[1]) + " C lies below absolute zero");
        if (*temperature > hottestPathC)
            refuse(name, lineNumber,
                "temperature " + std::string(fields[1]) + " C lies above "
                    + numberText(hottestPathC) + " C, where every rock is molten");
        points.push_back({ { *time, *temperature }, lineNumber, std::string(fields[0]) });
    }
    if (in.bad())
        throw InputError("cannot read path file " + name);

    if (points.size() < 2)
        throw InputError(name + ": a cooling path needs at least 2 points, found "
            + std::to_string(points.size()));

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

SamplePath readCoolingPathFile(const std::filesystem::path& file)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored))
        throw InputError("cannot read path file " + file.string() + ": it is a directory");
    std::ifstream in(file);
    if (!in)
        throw InputError("cannot open path file " + file.string() + ": " + std::strerror(errno));
    return readCoolingPath(in, file.string());
}

} // namespace ages
