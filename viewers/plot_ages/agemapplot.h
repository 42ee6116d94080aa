#pragma once
// plot_ages map AGE_MAP_TIF [SAMPLES_CSV]: the age map of cooling_ages terrain --age-map drawn
// over the shaded relief of its DEM, with the samples as markers.
//
// The map is the GeoTIFF the program writes (read by GDAL): a band per system, named after it,
// and a band elevation_m, the model's DEM. The first system's band is drawn, each cell in the
// colour of its age on a scale from the youngest age (dark blue) to the oldest (yellow), darkened
// by the hillshade of the elevations (light from the north-west, 45 degrees up, as maps are
// lit), so that the ages read against the ridges and valleys they belong to. A legend row for
// the youngest, middle and oldest age gives the scale. SAMPLES_CSV is any table with x_m and y_m
// in the map's coordinate system (the program's table of the samples' ages, the measured ages);
// each sample is one marker. The axes are the map's easting and northing, in km.

#include "viewerstartup.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <optional>
#include <vector>

// An age map as plot_ages reads it: rows from the north, columns from the west.
struct AgeMapRaster {
    int columns = 0;
    int rows = 0;
    double west = 0.0, east = 0.0, south = 0.0, north = 0.0; // the raster's outer edges, m
    QString system; // the drawn band's name
    std::vector<double> ages; // row-major, NaN where no age was computed
    std::vector<double> elevations; // the same cells; empty without an elevation band
};

// Throws ViewerStartError naming the file when GDAL cannot read it, it is not north up, or it
// holds no band of ages.
AgeMapRaster readAgeMap(const QString& path);

// The colour of a share (0 .. 1) of the age scale: a ramp from dark blue through green to yellow
// whose luma (brightness) grows along it, so that it reads in grey too.
QColor ageColour(double share);

// Lambert's shading of the surface lit from the north-west at 45 degrees, 0 (facing away) to 1
// (facing the light), per cell; 1 / sqrt(2) for flat ground.
std::vector<double> hillshade(const AgeMapRaster& map);

// The picture: each cell its age's colour times (0.35 + 0.65 x its shade) (no shade without
// elevations), transparent where the age is missing.
QImage ageMapImage(const AgeMapRaster& map);

FirstView mapFigure(const QString& mapPath, const std::optional<QString>& samplesPath);
