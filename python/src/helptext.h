#pragma once
// The docstrings of the module's functions, laid out like the programs' --help: what the function
// computes, one line per argument with its meaning and unit (the defaults are in the signature
// that help() prints above), and what it returns. Texts that quote a library's limits or names
// are built from the library's constants, so that they cannot drift apart.

#include <string>
#include <string_view>
#include <vector>

namespace erosion_python {

struct ArgumentHelp {
    std::string name;
    std::string meaning; // with its unit in parentheses, as --help writes it
};

std::string helpText(
    std::string_view summary, const std::vector<ArgumentHelp>& arguments, std::string_view returns);

// A number as the programs' help shows it: 25, 0.5, 1.3636e-06.
std::string shownNumber(double value);

} // namespace erosion_python
