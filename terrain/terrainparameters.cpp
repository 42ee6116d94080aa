#include "terrainparameters.h"

#include "textformat.h"

#include <algorithm>
#include <cmath>

namespace terrain {

std::optional<std::string> parameterError(const TerrainParameters& p, const Dem& dem)
{
    if (auto message = thermal::parameterError(p.thermal))
        return message;
    if (auto message = demError(dem); !message.empty())
        return message;
    using textformat::number;
    if (!(std::isfinite(p.lapseRateCkm) && p.lapseRateCkm >= 0.0))
        return "lapse rate (" + textformat::number(p.lapseRateCkm)
            + " C/km) must be a finite number of "
              "at least 0 C/km";
    if (p.levels < minimumLevels || p.levels > maximumLevels)
        return "levels (" + std::to_string(p.levels) + ") must be " + std::to_string(minimumLevels)
            + " to " + std::to_string(maximumLevels);
    if (!(std::isfinite(p.levelSpacingRatio) && p.levelSpacingRatio >= 1.0))
        return "level spacing ratio (" + textformat::number(p.levelSpacingRatio)
            + ") must be a finite number of at least 1";
    if (!(std::isfinite(p.timeStepMyr) && p.timeStepMyr > 0.0))
        return "time step (" + textformat::number(p.timeStepMyr) + " Myr) must be a finite number above 0";
    if (auto message = reliefError(p.relief))
        return message;
    if (!p.upliftFactors.empty()) {
        if (p.upliftFactors.size() != dem.nodeCount())
            return "the uplift map has " + std::to_string(p.upliftFactors.size())
                + " factors for the DEM's " + std::to_string(dem.nodeCount()) + " nodes";
        if (!std::all_of(p.upliftFactors.begin(), p.upliftFactors.end(),
                [](const double f) { return std::isfinite(f) && f >= 0.0; }))
            return "the uplift map's factors must be finite numbers of at least 0";
    }
    // Scaling the relief keeps the lowest point where it is, so the crust beneath it is the
    // thinnest at every time, and it must have a thickness.
    if (dem.lowest() <= -p.thermal.baseDepthM)
        return "the DEM reaches " + textformat::number(dem.lowest()) + " m, down to the base of the model ("
            + textformat::number(-p.thermal.baseDepthM) + " m): deepen the base (-z)";
    return std::nullopt;
}

} // namespace terrain
