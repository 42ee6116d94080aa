// The cases are those of tests/thermochron/radiationdamage_test.cpp and fissiontrack_test.cpp,
// and two quenched volcanic rocks, whose every system must date the eruption.

#include "checks.h"

#include "argondiffusion.h"
#include "fanningannealing.h"
#include "fissiontrack.h"
#include "heliumdiffusion.h"
#include "holdintegral.h"
#include "zirconfissiontrack.h"

#include <string>

namespace verify {

namespace {

using namespace thermochron;

// Erupted at eruptionMa from 900 C and held at 20 C since.
CoolingPath quenched(double eruptionMa)
{
    return { { eruptionMa + 1, 900 }, { eruptionMa, 900 }, { eruptionMa - 1e-4, 20 }, { 0, 20 } };
}

// 40Ar/39Ar age of Durango (McDowell, McIntosh and Farley 2005, Chem. Geol. 214:249) and of
// the Fish Canyon Tuff (Kuiper et al. 2008, Science 320:500), Ma.
constexpr double durangoMa = 31.44;
constexpr double fishCanyonMa = 28.201;

} // namespace

std::vector<Check> ageChecks()
{
    std::vector<Check> checks;
    // Flowers et al. (2009): eU 28 ppm, 60 um, 10 C/Myr closes at 62 C: age x rate.
    const CoolingPath flowers { { 12, 120 }, { 0, 0 } };
    const Age rdaam
        = heliumAge(flowers, Kinetics::Rdaam, Grain { .radiusUm = 60, .uPpm = 28, .thPpm = 0 });
    checks.push_back(within("AHe rdaam, eU 28, 60 um, 10 C/Myr: age x rate (C)",
        "Flowers et al. 2009", 62, 10 * rdaam.ageMa, 1));

    // Isothermal holds of 10 Myr, Dpar 1.75 um: (1/0.893) int rho(r(t, T)) dt by quadrature;
    // at 100 C also the independent quadrature the tests quote.
    checks.push_back(within("AFT 10 Myr at 100 C, Dpar 1.75: age (Ma)", "independent quadrature",
        1.9835, apatiteFissionTrackAge({ { 10, 100 }, { 0, 100 } }, Grain { .dparUm = 1.75 }).ageMa,
        0.005 * 1.9835));
    for (const double temperatureC : { 20.0, 60.0, 90.0, 110.0 }) {
        const double exact = testintegrals::holdIntegral(apatiteTrackAnnealing(1.75), temperatureC,
                                 10, [](double) { return 1.0; })
            / 0.893;
        const double age = apatiteFissionTrackAge(
            { { 10, temperatureC }, { 0, temperatureC } }, Grain { .dparUm = 1.75 })
                               .ageMa;
        checks.push_back(
            within("AFT 10 Myr at " + std::to_string(int(temperatureC)) + " C, Dpar 1.75: age (Ma)",
                "exact integral over cohorts", exact, age, 0.005 * exact));
    }

    // A Durango-like apatite: quenched at 31.44 Ma. Its dated fragments are interior pieces of
    // large crystals, that lost no alphas: the ejection-corrected age of a 500 um grain.
    const CoolingPath durango = quenched(durangoMa);
    const Age durangoHelium = heliumAge(durango, Kinetics::Farley, Grain { .radiusUm = 500 });
    checks.push_back(within("Durango-like AHe farley, Ft-corrected (Ma)", "McDowell et al. 2005",
        durangoMa, durangoHelium.ageMa, 0.01 * durangoMa));
    checks.push_back(within("Durango-like AFT ketcham2007 (Ma)", "McDowell et al. 2005", durangoMa,
        apatiteFissionTrackAge(durango, Grain {}).ageMa, 0.02 * durangoMa));

    // A Fish Canyon-like tuff: every argon system and zircon's tracks date the eruption.
    const CoolingPath fishCanyon = quenched(fishCanyonMa);
    for (const Kinetics kinetics : { Kinetics::Lovera1997, Kinetics::Grove1996,
             Kinetics::Harrison2009, Kinetics::Harrison1981 }) {
        const ArgonKinetics argon = argonKinetics(kinetics);
        checks.push_back(
            within("Fish Canyon-like 40Ar/39Ar " + std::string(kineticsName(kinetics)) + " (Ma)",
                "Kuiper et al. 2008", fishCanyonMa,
                argonAge(fishCanyon, argon, argon.radiusUm).ageMa, 0.01 * fishCanyonMa));
    }
    for (const Kinetics kinetics : { Kinetics::Yamada2007, Kinetics::Guenthner2013 })
        checks.push_back(
            within("Fish Canyon-like ZFT " + std::string(kineticsName(kinetics)) + " (Ma)",
                "Kuiper et al. 2008", fishCanyonMa,
                zirconFissionTrackAge(fishCanyon, kinetics).ageMa, 0.01 * fishCanyonMa));
    return checks;
}

} // namespace verify
