#include "elevationprofile.h"

#include "agesettings.h"
#include "agetable.h"
#include "historymisfit.h"
#include "historyplacement.h"
#include "inputerror.h"

#include "textformat.h"
#include "thermal/erosionhistory.h"
#include "thermochron/system.h"

#include <algorithm>
#include <cmath>

namespace ages {

std::vector<ElevationProfileRow> elevationProfile(const HistoryRequest& request,
    const std::vector<ObservedAge>& samples, const std::vector<AgeKind>& kinds,
    const ErosionHistory& history, const double base)
{
    // One template sample per kind, and the span of the elevations.
    std::vector<std::size_t> firstOfKind;
    double lowest = INFINITY, highest = -INFINITY;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!samples[i].elevationM)
            continue;
        lowest = std::min(lowest, *samples[i].elevationM);
        highest = std::max(highest, *samples[i].elevationM);
        if (std::none_of(firstOfKind.begin(), firstOfKind.end(),
                [&](std::size_t k) { return kinds[k] == kinds[i]; }))
            firstOfKind.push_back(i);
    }
    if (firstOfKind.empty())
        throw InputError("--elevation-output draws the ages along the samples' elevations: give "
                         "the samples elevation_m (and --mean-elevation)");
    const int count = highest > lowest ? elevationProfilePoints : 1;
    std::vector<ObservedAge> profile;
    std::vector<AgeKind> profileKinds;
    for (const std::size_t k : firstOfKind)
        for (int step = 0; step < count; ++step) {
            ObservedAge pseudo = samples[k];
            pseudo.elevationM = count == 1
                ? lowest
                : lowest + (highest - lowest) * step / (count - 1.0);
            pseudo.depthM.reset(); // at the surface, where the profile's samples were taken
            profile.push_back(pseudo);
            profileKinds.push_back(kinds[k]);
        }
    const HistoryPlacement placement = historyPlacement(request, profile, {}, {});
    const auto predicted
        = HistoryAgeMisfit(request.thermal, profile, profileKinds, fitResolution, placement)
              .prediction(history, base);
    if (!predicted)
        throw InputError("--elevation-output: the history "
            + thermal::formatErosionHistory(history, 2, 3)
            + " cannot be run for every elevation from " + textformat::number(lowest) + " to "
            + textformat::number(highest) + " m");
    std::vector<ElevationProfileRow> rows;
    for (std::size_t i = 0; i < profile.size(); ++i)
        rows.push_back({ profileKinds[i], *profile[i].elevationM, predicted->ages[i] });
    return rows;
}

void writeElevationProfileTable(std::ostream& out, const std::vector<ElevationProfileRow>& rows)
{
    out << "system,method,radius_um,u_ppm,th_ppm,sm_ppm,dpar_um,elevation_m,age_ma,reset\n";
    for (const ElevationProfileRow& row : rows) {
        const GrainValuesRead read = grainValuesRead(row.kind.system, row.kind.method);
        const thermochron::Grain& grain = row.kind.grain;
        const auto value = [](bool used, double v) { return used ? csvNumber(v) : std::string(); };
        out << thermochron::systemName(row.kind.system) << ','
            << thermochron::methodName(row.kind.method) << ',' << value(read.radius, grain.radiusUm)
            << ',' << value(read.parentContents, grain.uPpm) << ','
            << value(read.parentContents, grain.thPpm) << ','
            << value(read.parentContents, grain.smPpm) << ',' << value(read.dpar, grain.dparUm)
            << ',' << csvNumber(row.elevationM) << ',' << csvNumber(row.age.ageMa) << ','
            << (row.age.reset ? "yes" : "no") << '\n';
    }
}

} // namespace ages
