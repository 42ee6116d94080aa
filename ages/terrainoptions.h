#pragma once
// The options of `cooling_ages terrain` that the history model does not have (terrainrequest.h):
// the DEM, its resampling, the relief history, the lapse rate, the grid's levels and time step,
// and the maps. TerrainOptions::add puts them on the subcommand; after parsing and the numbers'
// conversion, interpret() reads the relief history into the request (throwing InputError).

#include "numberoptions.h"
#include "terrainrequest.h"

#include <CLI/CLI.hpp>

#include <string>

namespace ages {

class TerrainOptions {
public:
    void add(CLI::App& command, NumberOptions& numbers, TerrainRequest& request);
    void interpret(TerrainRequest& request) const;

private:
    std::string m_reliefWord;
};

} // namespace ages
