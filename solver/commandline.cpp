#include "commandline.h"

#include "decimal.h"
#include "getopt.h"

#include <cmath>
#include <iostream>

namespace erosion {

const char* versionString = "1D Transient Erosion Calculation - v1.0";

std::ostream& printMenu(const char* programName)
{
    return printMenu(programName, std::cout);
}

std::ostream& printMenu(const char* programName, std::ostream& out)
{
    out << "1D Transient Erosion Calculation\n"
        << "Usage: " << programName << " [OPTION]... [ARG]...\n\n"
        << "OPTIONS:\n"
        << "-T   surface temperature (celcius)\n"
        << "-B   basal temperature gradient (basal flux/thermal cond.)\n"
        << "-z   maximum depth (meters)\n"
        << "-a   thermal diffusivity (k/rho*Cp)\n"
        << "-r   erosion rate (mm/yr)\n"
        << "-o   temperature history (million years output time)\n\n"
        << "-d   geotherm 1 (million years)\n"
        << "-e   geotherm 2 (million years)\n"
        << "-f   geotherm 3 (million years)\n"
        << "-g   geotherm 4 (million years)\n\n"
        << "-i   isotherm 1 (celcius)\n"
        << "-j   isotherm 2 (celcius)\n"
        << "-k   isotherm 3 (celcius)\n"
        << "-l   isotherm 4 (celcius)\n\n"
        << "-h   display this help menu\n"
        << "-v   display the version information\n";
    return out;
}

namespace {

// Stores the value of one option's argument text; letters without a parameter are ignored.
void storeOption(int option, const char* text, RunParameters& p)
{
    const double value = decimal::toDouble(text);
    p.typedText[static_cast<char>(option)] = text;
    switch (option) {
    case 'T':
        p.surfaceTemp = value;
        break;
    case 'B':
        p.basalGradient = value;
        break;
    case 'z':
        p.maxDepth = value;
        break;
    case 'a':
        p.diffusivity = value;
        break;
    case 'r':
        p.setErosionRate(value);
        break;
    // A whole number of million years, halves rounded away from zero.
    case 'o':
        p.historyTime = std::round(value);
        break;
    case 'd':
        p.geothermTime[0] = value * units::secondsPerMyr;
        break;
    case 'e':
        p.geothermTime[1] = value * units::secondsPerMyr;
        break;
    case 'f':
        p.geothermTime[2] = value * units::secondsPerMyr;
        break;
    case 'g':
        p.geothermTime[3] = value * units::secondsPerMyr;
        break;
    case 'i':
        p.isothermTemp[0] = value;
        break;
    case 'j':
        p.isothermTemp[1] = value;
        break;
    case 'k':
        p.isothermTemp[2] = value;
        break;
    case 'l':
        p.isothermTemp[3] = value;
        break;
    default:
        break;
    }
}

} // namespace

CommandLine readCommandLine(int argc, char* const argv[])
{
    CommandLine result;
    optscan::optind = 1;
    optscan::optreset = 1;
    for (int option; (option = optscan::getopt(argc, argv, optionString)) != -1;) {
        switch (option) {
        case 'h':
            result.action = CommandLine::Action::help;
            return result;
        case 'v':
            result.action = CommandLine::Action::version;
            return result;
        case '?':
            result.action = CommandLine::Action::badOption;
            return result;
        default:
            storeOption(option, optscan::optarg, result.parameters);
            break;
        }
    }
    return result;
}

} // namespace erosion
