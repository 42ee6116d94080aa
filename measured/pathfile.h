#pragma once
// A cooling path brought by the user: a text file of time and temperature lines.
//
// With a header, the columns are found by their names, in any order and case: time_ma (Ma before
// present, >= 0) and temperature_c (C) or temperature_k (K, converted); other columns, such as
// the depth_m of the suite's own --path-output, are ignored. A header is a first line none of
// whose words is a number; one that names none of these columns (a title such as "time
// temperature") leaves the columns by position. Without a header every line is time then
// temperature. Fields are separated by a comma (blanks around it allowed) or by blanks alone.
// Lines end in LF, CR LF or CR; a UTF-8 byte order mark before the first line is skipped; blank
// lines are skipped. Points may come in either time order; the path is returned oldest first.

#include "samplepath.h"

#include <filesystem>
#include <istream>
#include <string>
#include <vector>

namespace ages {

// Reads the path from in; name is the file name used in messages. Throws InputError naming the
// line for a line that is not the header's fields of numbers, a time that is negative, older
// than the Earth or repeats an earlier line, a temperature outside the range of pathlimits.h, a
// line longer than textlines::longestLine, and for fewer than 2 points. warnings, if given,
// receives the warning lines (temperatures that look like kelvin under a Celsius name).
SamplePath readCoolingPath(
    std::istream& in, const std::string& name, std::vector<std::string>* warnings = nullptr);

// The same from a file; a file that cannot be opened or read is an InputError too.
SamplePath readCoolingPathFile(
    const std::filesystem::path& file, std::vector<std::string>* warnings = nullptr);

} // namespace ages
