#include "agetable.h"

#include "inputerror.h"
#include "replacementgroup.h"

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

std::string ageTableHeader()
{
    return "rate_mm_yr,x_m,elevation_m,site,system,method,age_ma,raw_age_ma,"
           "closure_temperature_c,closure_depth_m,reset,mean_track_length_um,path_start_ma,"
           "kinetics";
}

std::string ageTableRow(const AgeRow& row)
{
    const thermochron::Age& age = row.age;
    std::string line;
    line.reserve(160);
    for (const std::string& text : { field(row.rateMmYr), field(row.xM), field(row.elevationM),
             std::string(row.site), std::string(thermochron::systemName(row.system)),
             std::string(thermochron::methodName(row.method)), field(age.ageMa),
             field(age.rawAgeMa), field(age.closureTemperatureC), field(row.closureDepthM),
             std::string(age.reset ? "yes" : "no"), field(age.meanTrackLengthUm),
             field(age.pathStartMa), std::string(thermochron::kineticsName(age.kinetics)) }) {
        line += text;
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
