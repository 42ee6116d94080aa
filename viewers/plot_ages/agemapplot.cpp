#include "agemapplot.h"

#include "agefigure.h"
#include "ageplots.h"
#include "agetables.h"

#include <gdal.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>

namespace {

const QString elevationBand = QStringLiteral("elevation_m");

// The light of the hillshade: from the north-west (azimuth 315 degrees, clockwise from north),
// 45 degrees above the horizon, the convention of shaded-relief maps.
constexpr double lightAzimuthDeg = 315.0;
constexpr double lightAltitudeDeg = 45.0;
constexpr double degree = 3.14159265358979323846 / 180.0;
// The axes in km: a UTM northing of 4054 km reads at a glance, 4.054e+06 m does not.
double km(const double metres)
{
    return metres / 1000.0;
}

// How much of a cell's colour the shade takes away at most: enough to show the relief, little
// enough that the darkest slopes keep their age's hue.
constexpr double shadeDepth = 0.65;

struct DatasetCloser {
    void operator()(GDALDatasetH dataset) const { GDALClose(dataset); }
};

std::vector<double> bandValues(GDALRasterBandH band, int columns, int rows, const QString& path)
{
    std::vector<double> values(static_cast<std::size_t>(columns) * rows);
    if (GDALRasterIO(
            band, GF_Read, 0, 0, columns, rows, values.data(), columns, rows, GDT_Float64, 0, 0)
        != CE_None)
        throw ViewerStartError(QStringLiteral("'%1': GDAL cannot read its values").arg(path));
    int hasNoData = 0;
    const double noData = GDALGetRasterNoDataValue(band, &hasNoData);
    if (hasNoData && !std::isnan(noData))
        for (double& value : values)
            if (value == noData)
                value = std::numeric_limits<double>::quiet_NaN();
    return values;
}

} // namespace

AgeMapRaster readAgeMap(const QString& path)
{
    GDALAllRegister();
    CPLPushErrorHandler(CPLQuietErrorHandler); // the failure is ours to word, on one line
    const std::unique_ptr<std::remove_pointer_t<GDALDatasetH>, DatasetCloser> dataset(
        GDALOpen(path.toLocal8Bit().constData(), GA_ReadOnly));
    CPLPopErrorHandler();
    if (!dataset)
        throw ViewerStartError(
            QStringLiteral("'%1' cannot be read as a raster (the age map of cooling_ages terrain "
                           "--age-map)")
                .arg(path));
    AgeMapRaster map;
    map.columns = GDALGetRasterXSize(dataset.get());
    map.rows = GDALGetRasterYSize(dataset.get());
    std::array<double, 6> t {};
    if (GDALGetGeoTransform(dataset.get(), t.data()) != CE_None || t[2] != 0.0 || t[4] != 0.0
        || !(t[1] > 0.0) || !(t[5] < 0.0))
        throw ViewerStartError(
            QStringLiteral("'%1' is not a north-up map (no grid, or one rotated)").arg(path));
    map.west = t[0];
    map.east = t[0] + map.columns * t[1];
    map.north = t[3];
    map.south = t[3] + map.rows * t[5];
    for (int b = 1; b <= GDALGetRasterCount(dataset.get()); ++b) {
        GDALRasterBandH band = GDALGetRasterBand(dataset.get(), b);
        const QString name = QString::fromUtf8(GDALGetDescription(band));
        if (name == elevationBand && map.elevations.empty())
            map.elevations = bandValues(band, map.columns, map.rows, path);
        else if (name != elevationBand && map.ages.empty()) {
            map.system = name.isEmpty() ? QStringLiteral("band %1").arg(b) : name;
            map.ages = bandValues(band, map.columns, map.rows, path);
        }
    }
    if (map.ages.empty())
        throw ViewerStartError(QStringLiteral("'%1' holds no band of ages").arg(path));
    return map;
}

QColor ageColour(const double share)
{
    // Five stops of a ramp that rises in lightness from dark blue to yellow.
    static const std::array<std::array<double, 3>, 5> stops { { { 68, 1, 84 }, { 59, 82, 139 },
        { 33, 145, 140 }, { 94, 201, 98 }, { 253, 231, 37 } } };
    const double s = std::clamp(std::isfinite(share) ? share : 0.0, 0.0, 1.0) * (stops.size() - 1);
    const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(s), stops.size() - 2);
    const double f = s - k;
    std::array<int, 3> rgb {};
    for (int c = 0; c < 3; ++c)
        rgb[c] = static_cast<int>(std::lround((1 - f) * stops[k][c] + f * stops[k + 1][c]));
    return QColor(rgb[0], rgb[1], rgb[2]);
}

std::vector<double> hillshade(const AgeMapRaster& map)
{
    std::vector<double> shade(map.elevations.size(), std::sin(lightAltitudeDeg * degree));
    if (map.elevations.empty() || map.columns < 2 || map.rows < 2)
        return shade;
    const double dx = (map.east - map.west) / map.columns;
    const double dy = (map.north - map.south) / map.rows;
    const double az = lightAzimuthDeg * degree, alt = lightAltitudeDeg * degree;
    // Towards the light: east, north, up.
    const double lx = std::cos(alt) * std::sin(az), ly = std::cos(alt) * std::cos(az),
                 lz = std::sin(alt);
    const auto height = [&](int c, int r) {
        return map.elevations[static_cast<std::size_t>(r) * map.columns + c];
    };
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.columns; ++c) {
            // Central differences inside, one-sided at the edges; row 0 is the north.
            const int west = std::max(c - 1, 0), east = std::min(c + 1, map.columns - 1);
            const int north = std::max(r - 1, 0), south = std::min(r + 1, map.rows - 1);
            const double dzdx = (height(east, r) - height(west, r)) / ((east - west) * dx);
            const double dzdy = (height(c, north) - height(c, south)) / ((south - north) * dy);
            if (!std::isfinite(dzdx) || !std::isfinite(dzdy))
                continue;
            // The surface's normal (-dz/dx, -dz/dy, 1) against the light.
            const double norm = std::sqrt(dzdx * dzdx + dzdy * dzdy + 1.0);
            shade[static_cast<std::size_t>(r) * map.columns + c]
                = std::max(0.0, (-dzdx * lx - dzdy * ly + lz) / norm);
        }
    return shade;
}

QImage ageMapImage(const AgeMapRaster& map)
{
    double youngest = std::numeric_limits<double>::infinity(), oldest = -youngest;
    for (const double age : map.ages)
        if (std::isfinite(age)) {
            youngest = std::min(youngest, age);
            oldest = std::max(oldest, age);
        }
    const double span = oldest > youngest ? oldest - youngest : 1.0;
    const std::vector<double> shade = hillshade(map);
    QImage image(map.columns, map.rows, QImage::Format_ARGB32);
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.columns; ++c) {
            const std::size_t cell = static_cast<std::size_t>(r) * map.columns + c;
            const double age = map.ages[cell];
            if (!std::isfinite(age)) {
                image.setPixelColor(c, r, QColor(0, 0, 0, 0));
                continue;
            }
            const QColor colour = ageColour((age - youngest) / span);
            const double light
                = shade.empty() ? 1.0 : (1.0 - shadeDepth) + shadeDepth * shade[cell];
            image.setPixelColor(c, r,
                QColor(static_cast<int>(colour.red() * light),
                    static_cast<int>(colour.green() * light),
                    static_cast<int>(colour.blue() * light)));
        }
    return image;
}

FirstView mapFigure(const QString& mapPath, const std::optional<QString>& samplesPath)
{
    const AgeMapRaster map = readAgeMap(mapPath);
    double youngest = std::numeric_limits<double>::infinity(), oldest = -youngest;
    for (const double age : map.ages)
        if (std::isfinite(age)) {
            youngest = std::min(youngest, age);
            oldest = std::max(oldest, age);
        }
    if (!std::isfinite(youngest))
        throw ViewerStartError(
            QStringLiteral("'%1': the %2 band holds no age").arg(mapPath, map.system));

    AgeFigure figure(ageKindStyle(QStringLiteral("map")));
    // The map's corners, drawn as nothing: the curve that carries the picture and spans it.
    CurveStyle underlay { .lineStyle = Qt::NoPen };
    underlay.underlay
        = { ageMapImage(map), km(map.west), km(map.east), km(map.south), km(map.north) };
    figure.addCurve({ km(map.west), km(map.south), km(map.east), km(map.north) }, underlay,
        QStringLiteral("%1 age over the shaded relief").arg(map.system));
    // The scale: the youngest, middle and oldest age, each a legend row of its colour.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double share : { 0.0, 0.5, 1.0 }) {
        const double age = youngest + share * (oldest - youngest);
        const QColor colour = ageColour(share);
        figure.addCurve({ nan, nan },
            CurveStyle { .colour = colour,
                .lineStyle = Qt::NoPen,
                .marker = MarkerShape::Square,
                .markerFill = colour },
            QStringLiteral("%1 Ma").arg(age, 0, 'f', 2));
    }
    if (samplesPath) {
        const std::vector<SamplePlace> places = readSamplePlaces(*samplesPath);
        std::vector<double> xy;
        for (const SamplePlace& place : places)
            xy.insert(xy.end(), { km(place.x), km(place.y) });
        if (!xy.empty())
            figure.addCurve(std::move(xy),
                CurveStyle { .colour = Qt::black,
                    .lineStyle = Qt::NoPen,
                    .lineWidth = 2,
                    .marker = MarkerShape::Circle,
                    .markerSize = 11,
                    .markerFill = Qt::white },
                QStringLiteral("samples"));
    }
    return figure.firstView(map.system);
}
