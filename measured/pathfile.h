#pragma once
// A cooling path brought by the user: a text file of time_ma,temperature_c lines.
//
// One point per line, time before present (Ma, >= 0) then temperature (C), separated by a comma
// (blanks around it allowed) or by blanks alone. The first line may be a header (any line whose
// first word is not a number); blank lines are skipped. Points may come in either time order; the
// path is returned oldest first.

#include "samplepath.h"

#include <filesystem>
#include <istream>
#include <string>

namespace ages {

// Reads the path from in; name is the file name used in messages. Throws InputError naming the
// line for a line that is not two numbers, a time that is negative, older than the Earth or
// repeats an earlier line, a temperature outside the range of pathlimits.h, and for fewer than
// 2 points.
SamplePath readCoolingPath(std::istream& in, const std::string& name);

// The same from a file; a file that cannot be opened or read is an InputError too.
SamplePath readCoolingPathFile(const std::filesystem::path& file);

} // namespace ages
