#pragma once
// Options whose values are numbers, read strictly: CLI11 collects each value as the word the user
// typed, and convert() turns the words of the options given into numbers afterwards, refusing a
// word that is not wholly a finite decimal number with "-A expects a number, got '1km'".
// An option given more than once takes its last value, as in the suite's other programs.

#include "parametertable.h"

#include <CLI/CLI.hpp>

#include <deque>
#include <string>

namespace ages {

class NumberOptions {
public:
    // Adds option `name` to app; the help shows description, unit and target's current value as
    // the default.
    CLI::Option* add(CLI::App& app, const std::string& name, double& target,
        const std::string& description, const std::string& unit);
    // The option of a table's parameter: its flag, help (with the accepted range) and unit.
    template <class Owner>
    CLI::Option* add(CLI::App& app, const parameters::Parameter<Owner>& parameter, Owner& owner)
    {
        return add(app, std::string(parameter.text.flag), parameter.of(owner),
            parameters::helpWithRange(parameter.text), std::string(parameter.text.unit));
    }
    // The same for a whole count.
    CLI::Option* addCount(
        CLI::App& app, const std::string& name, int& target, const std::string& description);
    template <class Owner>
    CLI::Option* addCount(
        CLI::App& app, const parameters::Parameter<Owner, int>& parameter, Owner& owner)
    {
        return addCount(app, std::string(parameter.text.flag), parameter.of(owner),
            parameters::helpWithRange(parameter.text));
    }

    // Stores the values of the options given; throws InputError for the first bad word.
    void convert() const;

private:
    struct Entry {
        std::string name;
        std::string word;
        CLI::Option* option = nullptr;
        double* real = nullptr;
        int* whole = nullptr;
    };
    Entry& entry(CLI::App& app, const std::string& name, const std::string& help,
        const std::string& defaultText);
    std::deque<Entry> m_entries; // a deque: CLI11 keeps the address of each word
};

} // namespace ages
