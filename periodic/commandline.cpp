#include "commandline.h"

#include "getopt.h"
#include "strictnumber.h"

namespace periodic {

const char* const versionString = "2D Periodic Topography Steady-State Calculation - v1.0";

namespace {

constexpr const char* optionString = "hvr:a:T:L:b:z:w:A:i:j:k:l:o:n:";

// The parameter that an option letter taking a real number sets, or null for any other letter.
double* valueOf(PeriodicParameters& p, const char option)
{
    switch (option) {
    case 'r':
        return &p.erosionRate;
    case 'a':
        return &p.diffusivity;
    case 'T':
        return &p.surfaceTemp;
    case 'L':
        return &p.lapseRate;
    case 'b':
        return &p.basalTemp;
    case 'z':
        return &p.basalDepth;
    case 'w':
        return &p.wavelength;
    case 'A':
        return &p.reliefAmplitude;
    case 'i':
        return &p.isothermTemp[0];
    case 'j':
        return &p.isothermTemp[1];
    case 'k':
        return &p.isothermTemp[2];
    case 'l':
        return &p.isothermTemp[3];
    case 'o':
        return &p.historyDuration;
    default:
        return nullptr;
    }
}

// "-A expects a number, got '1km'": the refusal of a value word that is not what option takes.
std::string valueRefusal(const int option, const char* expected, const char* word)
{
    return std::string("-") + static_cast<char>(option) + " expects " + expected + ", got '" + word
        + "'";
}

} // namespace

void printUsage(std::ostream& out, const char* programName)
{
    out << "2D Periodic Topography Steady-State Calculation\n"
        << "Usage: " << programName << " [OPTION]...\n\n"
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
        case 'n':
            if (const auto count = decimal::strictInt(value)) {
                p.pointCount = *count;
            } else {
                line.action = CommandLine::Action::refuse;
                line.refusal = valueRefusal(option, "a whole number", value);
                return line;
            }
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
            if (double* target = valueOf(p, static_cast<char>(option))) {
                if (const auto number = decimal::strictDouble(value)) {
                    *target = *number;
                } else {
                    line.action = CommandLine::Action::refuse;
                    line.refusal = valueRefusal(option, "a number", value);
                    return line;
                }
            }
            break;
        }
    }
    // Every option takes its value from the next word, so a word left over is a mistake (a value
    // without its option, or a value split in two), not something to pass over.
    if (optscan::optind < argc) {
        line.action = CommandLine::Action::refuse;
        line.refusal = std::string("unexpected word '") + argv[optscan::optind]
            + "': every value follows its option, as in -A 1000 (-h lists the options)";
    }
    return line;
}

} // namespace periodic
