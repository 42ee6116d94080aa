#pragma once
// The options of `cooling_ages history` on the command line: HistoryOptions::add puts them on
// the subcommand; after parsing, interpret() turns their words into a HistoryRequest (throwing
// InputError for a word that cannot be used).

#include "historyrequest.h"
#include "numberoptions.h"

#include <CLI/CLI.hpp>

#include <string>

namespace ages {

class HistoryOptions {
public:
    // Adds the erosion history, the thermal options and the fit's options to command; their
    // values land in request (numbers through numbers, when it converts). initialState: whether
    // the model takes --initial and -B (the terrain model starts from its own steady state).
    void add(CLI::App& command, NumberOptions& numbers, HistoryRequest& request,
        bool initialState = true);

    // After parsing and numbers.convert(): the words and choices into request. Throws InputError
    // for a history, bound or word that cannot be used, and for options that exclude each other.
    void interpret(HistoryRequest& request) const;

private:
    std::string m_erosionWord;
    std::string m_initialWord = "steady";
    std::string m_ratesWord;
    std::string m_changeTimesWord;
    std::string m_samplerWord;
    std::string m_seedWord;
    std::string m_fitBaseWord;
    std::string m_fitShapesWord;
    std::string m_decayTimesWord;
    double m_meanElevationM = 0;
    CLI::Option* m_meanElevation = nullptr;
    CLI::Option* m_baseTemperature = nullptr;
    CLI::Option* m_baseHeatFlow = nullptr;
    CLI::Option* m_productionScale = nullptr;
    CLI::Option* m_productionDepth = nullptr;
    CLI::Option* m_initialGradient = nullptr;
    CLI::Option* m_steps = nullptr;
    CLI::Option* m_walkers = nullptr;
    CLI::Option* m_burnIn = nullptr;
    CLI::Option* m_seed = nullptr;
    CLI::Option* m_chains = nullptr;
};

} // namespace ages
