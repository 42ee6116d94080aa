// The manual's option tables, made from the parameter tables: `option_tables --write DOCS` puts
// each table between its markers in the pages of DOCS, `option_tables --check DOCS` (the test
// docs.optiontables) fails, naming the table, when a page's copy differs from what the tables
// make, so that the manual cannot drift from the options the programs take.
//
// A page holds a table as
//
//     <!-- option table thermal -->
//     | option | meaning | unit | default |
//     ...
//     <!-- end of option table -->

#include "fitparametertable.h"
#include "parametertables.h"
#include "samplerparametertable.h"
#include "thermalparametertable.h"

#include "textformat.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Row {
    parameters::Description text;
    std::string help;
    std::string defaultText;
};

template <class Parameter>
Row rowOf(const Parameter& parameter)
{
    const auto value = parameter.defaultValue();
    // A count or a seed is shown whole, whatever its size.
    std::string shown;
    if constexpr (std::is_integral_v<decltype(value)>)
        shown = std::to_string(value);
    else
        shown = textformat::number(value);
    return { parameter.text, parameters::helpWithRange(parameter.text), shown };
}

template <class Table>
std::vector<Row> rowsOf(const Table& table)
{
    std::vector<Row> rows;
    for (const auto& parameter : table)
        rows.push_back(rowOf(parameter));
    return rows;
}

std::vector<Row> periodicRows()
{
    std::vector<Row> rows = rowsOf(ages::periodicParameterTable);
    rows.push_back(rowOf(ages::periodicPointCount));
    return rows;
}

// The history fit: its phases, its bounds, then the sampler's settings.
std::vector<Row> historyFitRows()
{
    std::vector<Row> rows { rowOf(ages::fitPhaseParameter) };
    for (const parameters::BoundsParameter& bounds : ages::fitBoundsTable)
        rows.push_back({ bounds.text, ages::boundsHelp(bounds), bounds.defaultText });
    for (const ages::SamplerCount& count : ages::samplerCountTable)
        rows.push_back(rowOf(count));
    rows.push_back(rowOf(ages::samplerSeedParameter));
    return rows;
}

// The rate fits' geotherm: the transient model's gradient, the periodic model's base.
std::vector<Row> rateFitRows()
{
    std::vector<Row> rows;
    for (const parameters::BoundsParameter* bounds : { &ages::transientFitBase, &ages::periodicFitBase })
        rows.push_back({ bounds->text, ages::boundsHelp(*bounds), bounds->defaultText });
    return rows;
}

// The kinetics of the systems that have a choice: the catalogue's names, its default.
std::vector<Row> kineticsRows()
{
    std::vector<Row> rows;
    const ages::AgeSettings defaults;
    for (const ages::KineticsOption& option : ages::kineticsOptions)
        rows.push_back({ { .flag = option.option, .keyword = option.keyword },
            ages::kineticsOptionHelp(option),
            std::string(thermochron::kineticsName(defaults.kinetics.*option.choice)) });
    return rows;
}

const std::map<std::string, std::function<std::vector<Row>()>> tables {
    { "transient", [] { return rowsOf(ages::transientParameterTable); } },
    { "periodic", periodicRows },
    { "grain", [] { return rowsOf(ages::grainParameterTable); } },
    { "thermal", [] { return rowsOf(thermal::thermalParameterTable); } },
    { "history-fit", historyFitRows },
    { "kinetics", kineticsRows },
    { "rate-fit", rateFitRows },
};

// The command line's table, or with a "python-" prefix the module's keywords.
std::string tableText(const std::string& name)
{
    const bool python = name.starts_with("python-");
    const auto found = tables.find(python ? name.substr(7) : name);
    if (found == tables.end())
        throw std::runtime_error("no parameter table " + name);
    std::string text = python ? "| keyword | option | meaning | unit | default |\n|---|---|---|---|---|\n"
                              : "| option | meaning | unit | default |\n|---|---|---|---|\n";
    for (const Row& row : found->second()) {
        if (python && row.text.keyword.empty())
            continue; // an option the module has no keyword for
        // Appended piece by piece: GCC 12's -Wrestrict misreads "literal" + string here.
        text.append("| ");
        if (python)
            text.append("`").append(row.text.keyword).append("` | ");
        text.append("`").append(row.text.flag).append("` | ").append(row.help).append(" | ");
        text.append(row.text.unit).append(" | ").append(row.defaultText).append(" |\n");
    }
    return text;
}

const std::string opening = "<!-- option table ";
const std::string closing = "<!-- end of option table -->";

// The page with each of its tables made anew; problems names the tables that differed.
std::string remade(const std::string& page, const std::string& label, std::vector<std::string>& problems)
{
    std::string out;
    std::size_t at = 0;
    while (true) {
        const std::size_t start = page.find(opening, at);
        if (start == std::string::npos)
            break;
        const std::size_t nameEnd = page.find(" -->\n", start);
        const std::size_t end = page.find(closing, start);
        if (nameEnd == std::string::npos || end == std::string::npos)
            throw std::runtime_error(label + ": an option table without its end marker");
        const std::string name = page.substr(start + opening.size(), nameEnd - start - opening.size());
        const std::size_t body = nameEnd + 5;
        const std::string wanted = tableText(name);
        if (page.compare(body, end - body, wanted) != 0)
            problems.push_back(label + ": option table " + name + " differs from the parameter tables");
        out += page.substr(at, body - at) + wanted;
        at = end;
    }
    return out + page.substr(at);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "--check" && mode != "--write") {
        std::cerr << "usage: option_tables --check|--write DOCS_DIR\n";
        return 2;
    }
    try {
        std::vector<std::string> problems;
        int tablesSeen = 0;
        for (const auto& entry : fs::directory_iterator(argv[2])) {
            if (entry.path().extension() != ".md")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            const std::string page = text.str();
            std::vector<std::string> differences;
            const std::string made = remade(page, entry.path().filename().string(), differences);
            for (std::size_t at = page.find(opening); at != std::string::npos;
                 at = page.find(opening, at + 1))
                ++tablesSeen;
            if (mode == "--write" && made != page)
                std::ofstream(entry.path(), std::ios::binary) << made;
            problems.insert(problems.end(), differences.begin(), differences.end());
        }
        if (tablesSeen == 0) {
            std::cerr << argv[2] << ": no option tables found\n";
            return 1;
        }
        if (mode == "--check" && !problems.empty()) {
            for (const std::string& problem : problems)
                std::cerr << problem << " (run option_tables --write docs)\n";
            return 1;
        }
        std::cout << tablesSeen << " option tables " << (mode == "--check" ? "match" : "written")
                  << '\n';
    } catch (const std::exception& error) {
        std::cerr << "option_tables: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
