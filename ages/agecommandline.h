#pragma once
// The command line of cooling_ages: a model (transient, periodic, path FILE or history), the
// model's own options, and the long age options shared by all of them.
//
//     cooling_ages transient [-T -B -z -a -r -o] [age options]
//     cooling_ages periodic  [-r -a -T -L -b -z -w -A -o -n] [age options]
//     cooling_ages path FILE [age options]
//     cooling_ages history --erosion PHASES [-T -z -b -q -k -a -H --hr --h-depth --initial -B]
//                          [age options]                                  (historyrequest.h)
//     cooling_ages terrain --dem FILE --erosion PHASES [--relief ...] [the thermal options of
//                          history but --initial and -B] [age options]     (terrainrequest.h)
//
// Usage: construct, add further options to app() or a model's subcommand if needed, then
// parse(); request() holds the values. Numbers are read strictly (NumberOptions); the values are
// range-checked by the caller (the models' own refusals, settingsError).

#include "agerequest.h"
#include "historyoptions.h"
#include "numberoptions.h"
#include "terrainoptions.h"

#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace ages {

class AgeCommandLine {
public:
    enum class Outcome {
        run, // request() holds the run's values
        finish, // --help or --version was answered: exit 0
    };

    AgeCommandLine();
    AgeCommandLine(const AgeCommandLine&) = delete; // CLI11 holds addresses of the members
    AgeCommandLine& operator=(const AgeCommandLine&) = delete;

    CLI::App& app() { return m_app; }
    CLI::App& subcommand(Model model);
    NumberOptions& numbers() { return m_numbers; }

    // Parses the words after the program name; help and version texts go to out. Throws
    // InputError for words that cannot be used (an unknown option, a value that is no number, no
    // model named).
    Outcome parse(int argc, const char* const argv[], std::ostream& out);

    const AgeRequest& request() const { return m_request; }

private:
    void addTransientOptions(CLI::App& command);
    void addPeriodicOptions(CLI::App& command);
    void addAgeOptions(CLI::App& command, bool sweeps);
    void interpret(); // words -> request; throws InputError

    AgeRequest m_request;
    CLI::App m_app;
    CLI::App* m_transient = nullptr;
    CLI::App* m_periodic = nullptr;
    CLI::App* m_path = nullptr;
    CLI::App* m_history = nullptr;
    CLI::App* m_terrain = nullptr;
    NumberOptions m_numbers;
    HistoryOptions m_historyOptions;
    HistoryOptions m_terrainHistoryOptions; // the terrain model's erosion, thermal values, fit
    TerrainOptions m_terrainOptions;
    std::string m_systemsWord;
    std::string m_methodWord = "all";
    // The word of each kinetics option (kineticsOptions), shared by the three models' options; a
    // map, whose values keep their addresses, for CLI11 holds them.
    std::map<thermochron::System, std::string> m_kineticsWords;
    std::string m_ratesWord;
};

} // namespace ages
