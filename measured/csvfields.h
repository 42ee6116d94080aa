#pragma once
// The pieces of reading a CSV file of measurements that its readers share: fields split at the
// commas outside double quotes, header names compared in any case, the separator of a file saved
// with semicolons or tabs, and how far a name lies from a known one.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ages::csv {

// text without blanks, tabs and carriage returns around it.
std::string_view trimmed(std::string_view text);

// The fields of one line: each trimmed, and a pair of double quotes around it removed; commas
// inside double quotes are part of the field, as a spreadsheet quotes a name that holds one.
std::vector<std::string_view> splitFields(std::string_view line);

std::string lowerCase(std::string_view text);

// A header of one field that holds a semicolon or a tab: a file saved with another separator, as
// spreadsheets in many locales do. The separator's name ("semicolons", "tabs"), or nothing.
std::optional<std::string_view> otherSeparator(std::string_view headerLine);

// The number of single-character insertions, deletions and substitutions between a and b.
std::size_t editDistance(std::string_view a, std::string_view b);

} // namespace ages::csv
