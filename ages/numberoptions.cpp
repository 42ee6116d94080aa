#include "numberoptions.h"

#include "inputerror.h"
#include "strictnumber.h"
#include "textformat.h"

namespace ages {

namespace {

std::string shown(double value)
{
    return textformat::number(value);
}

std::string notANumberMessage(std::string_view option, std::string_view word)
{
    return std::string(option) + " expects a number, got '" + std::string(word) + "'";
}

} // namespace

NumberOptions::Entry& NumberOptions::entry(
    CLI::App& app, const std::string& name, const std::string& help, const std::string& defaultText)
{
    Entry& added = m_entries.emplace_back();
    added.name = name;
    added.option = app.add_option(name, added.word, help)
                       ->type_name("NUMBER")
                       ->default_str(defaultText)
                       ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    return added;
}

CLI::Option* NumberOptions::add(CLI::App& app, const std::string& name, double& target,
    const std::string& description, const std::string& unit)
{
    const std::string help = unit.empty() ? description : description + " (" + unit + ")";
    Entry& added = entry(app, name, help, shown(target));
    added.real = &target;
    return added.option;
}

CLI::Option* NumberOptions::addCount(
    CLI::App& app, const std::string& name, int& target, const std::string& description)
{
    Entry& added = entry(app, name, description, std::to_string(target));
    added.whole = &target;
    return added.option;
}

void NumberOptions::convert() const
{
    for (const Entry& e : m_entries) {
        if (e.option->count() == 0)
            continue;
        if (e.real) {
            const auto value = decimal::strictDouble(e.word);
            if (!value)
                throw InputError(notANumberMessage(e.name, e.word));
            *e.real = *value;
        } else {
            const auto value = decimal::strictInt(e.word);
            if (!value)
                throw InputError(e.name + " expects a whole number, got '" + e.word + "'");
            *e.whole = *value;
        }
    }
}

} // namespace ages
