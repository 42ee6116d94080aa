// The cases are those of tests/thermochron/tracklengths_test.cpp, lengthstatistics_test.cpp,
// zirconfissiontrack_test.cpp and argondiffusion_test.cpp.

#include "checks.h"

#include "argondiffusion.h"
#include "caxisprojection.h"
#include "dodson.h"
#include "physicalconstants.h"
#include "tracklengths.h"
#include "zirconfissiontrack.h"

#include <sstream>
#include <string>

namespace verify {

namespace {

using namespace thermochron;

std::string text(double value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

void addLengthChecks(std::vector<Check>& checks)
{
    // 10 Myr holds, Dpar 1.75 um: the converged mixture's MTLc, SDc, MTLm, SDm (um).
    struct Hold {
        double temperatureC;
        double values[4];
    };
    constexpr Hold holds[] = {
        { 0, { 15.808, 0.785, 15.272, 1.070 } },
        { 20, { 15.504, 0.778, 14.885, 1.059 } },
        { 60, { 14.353, 0.792, 13.265, 1.160 } },
        { 90, { 12.301, 1.085, 9.767, 2.299 } },
        { 110, { 11.820, 1.347, 9.111, 2.704 } },
    };
    const char* names[] = { "MTLc", "SDc", "MTLm", "SDm" };
    for (const Hold& hold : holds) {
        const TrackLengths lengths = apatiteTrackLengths(
            { { 10, hold.temperatureC }, { 0, hold.temperatureC } }, Grain { .dparUm = 1.75 });
        const double ours[] = { lengths.projected.meanUm(), lengths.projected.sdUm(),
            lengths.unprojected.meanUm(), lengths.unprojected.sdUm() };
        for (int k = 0; k < 4; ++k)
            checks.push_back(within(
                "AFT lengths, 10 Myr at " + text(hold.temperatureC) + " C: " + names[k] + " (um)",
                "converged mixture", hold.values[k], ours[k], 0.05));
    }
    struct Track {
        double lengthUm, angleDegrees, projectedUm;
    };
    for (const Track t : { Track { 15, 35, 15.405679 }, Track { 12.73, 78.45, 14.430423 },
             Track { 10.94, 70.21, 13.236076 } })
        checks.push_back(within("c-axis projection of " + text(t.lengthUm) + " um at "
                + text(t.angleDegrees) + " deg (um)",
            "Donelick et al. 1999", t.projectedUm,
            caxisProjectedLengthUm(t.lengthUm, t.angleDegrees), 1e-6));
}

void addZirconChecks(std::vector<Check>& checks)
{
    struct Length {
        Kinetics kinetics;
        double temperatureC, reducedLength;
    };
    for (const Length c : { Length { Kinetics::Yamada2007, 0, 0.99937378 },
             Length { Kinetics::Yamada2007, 300, 0.58375279 },
             Length { Kinetics::Guenthner2013, 0, 0.99879887 },
             Length { Kinetics::Guenthner2013, 300, 0.59803110 } })
        checks.push_back(within("ZFT " + std::string(kineticsName(c.kinetics)) + ", 1 Myr at "
                + text(c.temperatureC) + " C: r",
            c.kinetics == Kinetics::Yamada2007 ? "Yamada et al. 2007" : "Guenthner et al. 2013",
            c.reducedLength,
            zirconReducedLength(
                zirconAnnealing(c.kinetics), secondsPerMyr, c.temperatureC + zeroCelsiusInKelvin),
            1e-6));
    struct Hold {
        Kinetics kinetics;
        double temperatureC, ageMa;
    };
    for (const Hold c :
        { Hold { Kinetics::Yamada2007, 250, 6.63817 }, Hold { Kinetics::Yamada2007, 300, 3.61535 },
            Hold { Kinetics::Guenthner2013, 250, 6.76203 },
            Hold { Kinetics::Guenthner2013, 300, 3.91492 } })
        checks.push_back(within("ZFT " + std::string(kineticsName(c.kinetics)) + ", 10 Myr at "
                + text(c.temperatureC) + " C: age (Ma)",
            "exact integral", c.ageMa,
            zirconFissionTrackAge({ { 10, c.temperatureC }, { 0, c.temperatureC } }, c.kinetics)
                .ageMa,
            0.001 * c.ageMa));
}

void addArgonChecks(std::vector<Check>& checks)
{
    // Linear cooling at 10 C/Myr from 150 C above Dodson's closure: the kinetic closure within
    // 4 C above Dodson's for the same constants.
    for (const Kinetics kinetics : { Kinetics::Lovera1997, Kinetics::Grove1996,
             Kinetics::Harrison2009, Kinetics::Harrison1981 }) {
        const ArgonKinetics argon = argonKinetics(kinetics);
        const double dodsonC = dodsonClosureTemperatureC(
            argonClosureKinetics(argon, argon.radiusUm, defaultPressureKbar), 10);
        const CoolingPath path { { (dodsonC + 150) / 10, dodsonC + 150 }, { 0, 0 } };
        checks.push_back(
            { "40Ar/39Ar " + std::string(kineticsName(kinetics)) + ", 10 C/Myr: closure (C)",
                "Dodson 1973, same constants", dodsonC,
                argonAge(path, argon, argon.radiusUm).closureTemperatureC, 0, 4 });
    }
    const ArgonKinetics muscovite = argonKinetics(Kinetics::Harrison2009);
    checks.push_back(
        within("40Ar/39Ar muscovite 100 um, 10 kbar, 10 C/Myr: closure (C)", "Harrison et al. 2009",
            425, argonAge({ { 57.5, 575 }, { 0, 0 } }, muscovite, 100, 10).closureTemperatureC, 3));
}

} // namespace

std::vector<Check> kineticsChecks()
{
    std::vector<Check> checks;
    addLengthChecks(checks);
    addZirconChecks(checks);
    addArgonChecks(checks);
    return checks;
}

} // namespace verify
