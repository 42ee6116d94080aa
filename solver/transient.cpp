// transient_erosion: temperatures in a crust whose surface is eroded at a constant rate.
//
// Reads the physical parameters from the options, evaluates the closed-form solution of the
// heat equation with upward rock motion on a depth grid and a time axis of whole million years,
// and writes geotherms, isotherm depths, the temperature table and a cooling history under
// "../output/".

#include "commandline.h"
#include "run.h"

#include <iostream>

int main(int argc, char* argv[])
{
    using erosion::CommandLine;
    const CommandLine commandLine = erosion::readCommandLine(argc, argv);
    switch (commandLine.action) {
    case CommandLine::Action::help:
        erosion::printMenu(argv[0]);
        return 0;
    case CommandLine::Action::version:
        std::cout << erosion::versionString << std::endl;
        return 0;
    case CommandLine::Action::badOption:
        erosion::printBadOptionHint(argv[0], std::cerr);
        return 1;
    case CommandLine::Action::run:
        break;
    }
    return erosion::runTransientErosion(commandLine.parameters, std::cerr);
}
