#pragma once
// One description of each numeric parameter of a model, from which everything that shows or
// checks it is made: the command-line option (its flag, unit, help and default), the range check
// and its message, the keyword, default and help of the Python module, and the option tables of
// the manual (which a test compares with the table, so that none of them can drift).
//
//     inline const Parameter<ThermalParameters> surface { "-T", "surface_temperature_c",
//         "surface temperature", "C", &ThermalParameters::surfaceTemperatureC,
//         { .lowest = absoluteZeroC }, "surface temperature T0" };
//
// The default is the value the owner's own initialiser gives the field (Owner{}.*field), so that
// the struct stays the one place a default is written.

#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace parameters {

inline constexpr double unbounded = std::numeric_limits<double>::infinity();

// The values a parameter accepts: finite, above (or at least) lowest and below (or at most)
// highest.
struct Range {
    double lowest = -unbounded;
    bool lowestIncluded = true;
    double highest = unbounded;
    bool highestIncluded = true;

    bool holds(double value) const;
    // "of at least -273.15 C", "above 0 m and at most 1e+06 m", "" for any finite number.
    std::string text(std::string_view unit) const;
};

// What a table says of a parameter, whatever struct holds it.
struct Description {
    std::string_view flag {}; // "-T", "--hr"
    std::string_view keyword {}; // the Python module's keyword: "surface_temperature_c"
    std::string_view name {}; // for messages: "surface temperature"
    std::string_view unit {}; // "C", "m2/s", "" for a pure number
    Range range {};
    std::string_view help {}; // one line for --help, the docstrings and the manual
};

template <class Owner, class Value = double>
struct Parameter {
    Description text;
    Value Owner::*field;

    Value defaultValue() const { return Owner {}.*field; }
    Value& of(Owner& owner) const { return owner.*field; }
    const Value& of(const Owner& owner) const { return owner.*field; }
};

// A parameter given as two numbers MIN:MAX, the bounds a fit searches: what the table says of it
// and its default as the help and the manual show it ("0.05:2", or words where the default
// depends on the run).
struct BoundsParameter {
    Description text;
    std::string defaultText;
};

// "surface temperature (-T -300 C) must be a finite number of at least -273.15 C", or nothing
// when value is in range. lowestName names the lower bound when another option sets it ("the
// surface temperature (-T)"); range replaces the table's where a bound depends on other values.
std::optional<std::string> rangeError(const Description& parameter, double value,
    const std::optional<Range>& range = std::nullopt, std::string_view lowestName = {});

// The accepted range as help words, "" when unbounded: "25 to 500 um", "above 0, at most 1e+06 m",
// "at least 0 ppm".
std::string rangeHelp(const Description& parameter);

// The help line of an option: the help, more (e.g. the systems that read it), then the range when
// it is bounded: "apatite grain radius, sphere-equivalent (AHe), 25 to 500 um".
std::string helpWithRange(const Description& parameter, std::string_view more = {});

} // namespace parameters
