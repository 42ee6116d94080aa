#include "terrainpaths.h"

#include "historymisfit.h"
#include "inputerror.h"
#include "pathlimits.h"

#include "samplecoordinates.h"
#include "textformat.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ages {

namespace {

using textformat::number;

// Two rows of one sample stand at one point when they agree to a millimetre: the same numbers
// typed twice, or the same place given once in metres and once in degrees.
constexpr double samePointM = 1e-3;

// The surface test of terrain::runError, which a sample must pass: at or below the surface, to a
// millionth of its height.
bool aboveSurface(const double elevationM, const double surfaceM)
{
    return !(elevationM <= surfaceM + 1e-6 * std::max(1.0, std::fabs(surfaceM)));
}

std::string pointText(const terrain::SamplePoint& point)
{
    std::string text(1, '(');
    return text.append(number(point.xM))
        .append(", ")
        .append(number(point.yM))
        .append(", ")
        .append(number(point.elevationM))
        .append(" m)");
}

} // namespace

TerrainSamples placeTerrainSamples(
    const std::vector<ObservedAge>& ages, const terrain::Dem& dem, const std::string_view fileName)
{
    TerrainSamples placed;
    std::vector<int> firstLine;
    for (const ObservedAge& age : ages) {
        const std::string where = std::string(fileName) + " line " + std::to_string(age.line)
            + ": sample " + textformat::quoted(age.sample);
        terrain::SamplePoint point;
        if (age.xM && age.yM) {
            point.xM = *age.xM;
            point.yM = *age.yM;
        } else if (age.longitudeDeg && age.latitudeDeg) {
            if (dem.projectionWkt.empty())
                throw InputError(where
                    + " is placed by lon and lat, but the DEM has no coordinate system (local "
                      "metres): give x_m and y_m");
            try {
                const auto [x, y] = terrain::fromLonLat(dem, *age.longitudeDeg, *age.latitudeDeg);
                point.xM = x;
                point.yM = y;
            } catch (const std::runtime_error& error) {
                throw InputError(where + ": " + error.what());
            }
        } else {
            throw InputError(where
                + " has no position, which the terrain model needs: give x_m and y_m (in the "
                  "DEM's coordinate system) or lon and lat");
        }
        if (!dem.contains(point.xM, point.yM))
            throw InputError(where + " at x " + number(point.xM) + ", y " + number(point.yM)
                + " lies outside the DEM (x " + number(dem.x(0)) + " to "
                + number(dem.x(dem.columns - 1)) + ", y " + number(dem.y(0)) + " to "
                + number(dem.y(dem.rows - 1)) + ")");
        const double surface = dem.surfaceAt(point.xM, point.yM);
        point.elevationM = age.elevationM.value_or(surface);
        if (aboveSurface(point.elevationM, surface))
            throw InputError(where + " at elevation_m " + number(point.elevationM)
                + " stands above the model's surface there (" + number(surface)
                + " m): the rock must lie at or below it; leave elevation_m empty to take the "
                  "surface, or resample the DEM finer");

        const auto known = std::find(placed.names.begin(), placed.names.end(), age.sample);
        if (known == placed.names.end()) {
            placed.names.push_back(age.sample);
            placed.points.push_back(point);
            firstLine.push_back(age.line);
            placed.pointOfAge.push_back(placed.points.size() - 1);
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(known - placed.names.begin());
        const terrain::SamplePoint& first = placed.points[index];
        if (std::fabs(first.xM - point.xM) > samePointM
            || std::fabs(first.yM - point.yM) > samePointM
            || std::fabs(first.elevationM - point.elevationM) > samePointM)
            throw InputError(where + " stands at " + pointText(point) + ", but at "
                + pointText(first) + " on line " + std::to_string(firstLine[index])
                + ": one sample is one rock");
        placed.pointOfAge.push_back(index);
    }
    return placed;
}

SamplePath samplePathOf(const terrain::RockPath& rock)
{
    return { rock.cooling, rock.depthM };
}

TerrainAgeMisfit::TerrainAgeMisfit(terrain::Dem dem, terrain::TerrainParameters parameters,
    const TerrainSamples& placed, const std::vector<ObservedAge>& ages,
    const std::vector<AgeKind>& kinds)
    : m_dem(std::move(dem))
    , m_parameters(std::move(parameters))
    , m_points(placed.points)
    , m_agesOfPoint(placed.points.size())
{
    m_measured.reserve(ages.size());
    for (const ObservedAge& age : ages)
        m_measured.push_back({ age.ageMa, age.sigmaMa });
    std::vector<std::vector<AgeKind>> kindsOfPoint(placed.points.size());
    for (std::size_t a = 0; a < ages.size(); ++a) {
        m_agesOfPoint[placed.pointOfAge[a]].push_back(a);
        kindsOfPoint[placed.pointOfAge[a]].push_back(kinds[a]);
    }
    for (const std::vector<AgeKind>& pointKinds : kindsOfPoint)
        m_predictors.emplace_back(pointKinds);
}

std::optional<std::vector<thermochron::Age>> TerrainAgeMisfit::predictions(
    const terrain::TerrainRun& run) const
{
    std::vector<thermochron::Age> ages(m_measured.size());
    for (std::size_t p = 0; p < m_points.size(); ++p) {
        const thermochron::CoolingPath& path = run.samplePaths.at(p).cooling;
        if (undatablePoint(path))
            return std::nullopt;
        const std::vector<thermochron::Age> pointAges = m_predictors[p].predict(path);
        for (std::size_t k = 0; k < pointAges.size(); ++k)
            ages[m_agesOfPoint[p][k]] = pointAges[k];
    }
    return ages;
}

terrain::TerrainParameters TerrainAgeMisfit::parametersAt(const double base) const
{
    terrain::TerrainParameters parameters = m_parameters;
    if (std::isnan(base))
        return parameters;
    thermal::ThermalParameters& column = parameters.thermal;
    (column.base == thermal::BaseCondition::HeatFlow ? column.baseHeatFlowMWm2
                                                      : column.baseTemperatureC)
        = base;
    return parameters;
}

std::optional<std::vector<thermochron::Age>> TerrainAgeMisfit::predictions(
    const ErosionHistory& history, const double base) const
{
    const terrain::TerrainParameters parameters = parametersAt(base);
    if (terrain::runError(m_dem, parameters, history, m_points))
        return std::nullopt;
    const terrain::TerrainRun run
        = terrain::runTerrainModel(m_dem, parameters, history, m_points, false);
    return predictions(run);
}

double TerrainAgeMisfit::chi2(const std::vector<thermochron::Age>& predicted) const
{
    return chi2Of(m_measured, predicted);
}

double TerrainAgeMisfit::operator()(const ErosionHistory& history, const double base) const
{
    const auto predicted = predictions(history, base);
    return predicted ? chi2(*predicted) : std::nan("");
}

} // namespace ages
