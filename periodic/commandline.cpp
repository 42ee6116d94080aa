#include "commandline.h"

#include "decimal.h"
#include "getopt.h"

namespace periodic {

const char* const versionString = "2D Periodic Topography Steady-State Calculation - v1.0";

namespace {
constexpr const char* optionString = "hvr:a:T:L:b:z:w:A:i:j:k:l:o:n:";
}

void printUsage(std::ostream& out, const char* programName)
{
    out << "2D Periodic Topography Steady-State Calculation\n"
        << "Usage: " << programName << " [OPTION]... [ARG]...\n\n"
        << "OPTIONS:\n"
        << "-r   erosion rate (mm/yr)\n"
        << "-a   thermal diffusivity (m2/s)\n"
        << "-T   mean surface temperature (celcius)\n"
        << "-L   lapse rate (celcius/km)\n"
        << "-b   basal temperature (celcius)\n"
        << "-z   basal depth (meters)\n\n"
        << "-w   topography wavelength (meters)\n"
        << "-A   relief amplitude (meters)\n\n"
        << "-i   isotherm 1 (celcius)\n"
        << "-j   isotherm 2 (celcius)\n"
        << "-k   isotherm 3 (celcius)\n"
        << "-l   isotherm 4 (celcius)\n\n"
        << "-o   temperature history duration (million years)\n"
        << "-n   points per profile and per history\n\n"
        << "-h   display this help menu\n"
        << "-v   display the version information\n";
}

CommandLine scanCommandLine(
    const int argc, char* const argv[], std::ostream& out, std::ostream& err)
{
    optscan::optind = 1;
    optscan::optreset = 1;

    CommandLine line;
    PeriodicParameters& p = line.parameters;
    int option = 0;
    while ((option = optscan::getopt(argc, argv, optionString)) != -1) {
        const char* value = optscan::optarg;
        switch (option) {
        case 'r':
            p.erosionRate = decimal::toDouble(value);
            break;
        case 'a':
            p.diffusivity = decimal::toDouble(value);
            break;
        case 'T':
            p.surfaceTemp = decimal::toDouble(value);
            break;
        case 'L':
            p.lapseRate = decimal::toDouble(value);
            break;
        case 'b':
            p.basalTemp = decimal::toDouble(value);
            break;
        case 'z':
            p.basalDepth = decimal::toDouble(value);
            break;
        case 'w':
            p.wavelength = decimal::toDouble(value);
            break;
        case 'A':
            p.reliefAmplitude = decimal::toDouble(value);
            break;
        case 'i':
            p.isothermTemp[0] = decimal::toDouble(value);
            break;
        case 'j':
            p.isothermTemp[1] = decimal::toDouble(value);
            break;
        case 'k':
            p.isothermTemp[2] = decimal::toDouble(value);
            break;
        case 'l':
            p.isothermTemp[3] = decimal::toDouble(value);
            break;
        case 'o':
            p.historyDuration = decimal::toDouble(value);
            break;
        case 'n':
            p.pointCount = decimal::toInt(value);
            break;
        case 'h':
            printUsage(out, argv[0]);
            line.action = CommandLine::Action::finish;
            return line;
        case 'v':
            out << versionString << std::endl;
            line.action = CommandLine::Action::finish;
            return line;
        case '?':
            optscan::printHelpHint(argv[0], err);
            line.action = CommandLine::Action::refuse;
            return line;
        default:
            break;
        }
    }
    return line;
}

} // namespace periodic
