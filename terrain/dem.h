#pragma once
// A digital elevation model on a regular grid of nodes, in metres in a projected coordinate
// system (or in local metres when it has none), as the 3D model takes it: node (i, j) stands at
// x = originX + i spacingX (east), y = originY + j spacingY (north), row j = 0 the southernmost,
// so that x, y and the elevation make a right-handed system. demreader.h makes one from any
// raster GDAL reads; tests and benchmarks make their own.
//
//     terrain::Dem dem = terrain::readDem("demo.tif", { .spacingM = 1000.0 });
//     dem.height(3, 4);  dem.lowest();

#include <string>
#include <vector>

namespace terrain {

struct Dem {
    int columns = 0; // nodes along x, >= 2
    int rows = 0; // nodes along y, >= 2
    double originX = 0; // x of node (0, 0), m
    double originY = 0; // y of node (0, 0), m
    double spacingX = 0; // m, > 0
    double spacingY = 0; // m, > 0
    std::vector<double> heights; // m above sea level, row-major: index j * columns + i
    // The coordinate system as OGC WKT (what GDAL reads and writes); empty for local metres.
    std::string projectionWkt;

    double x(const int i) const { return originX + i * spacingX; }
    double y(const int j) const { return originY + j * spacingY; }
    double height(const int i, const int j) const { return heights[index(i, j)]; }
    std::size_t index(const int i, const int j) const
    {
        return static_cast<std::size_t>(j) * columns + i;
    }
    std::size_t nodeCount() const { return heights.size(); }
    // The lowest and highest elevation, m.
    double lowest() const;
    double highest() const;
    // Whether (x, y) lies on the grid, edges included, and the surface's elevation there,
    // bilinear between the four nodes around it (as the model's grid reads it), m.
    bool contains(double xM, double yM) const;
    double surfaceAt(double xM, double yM) const;
};

// The first fault of the grid (fewer than 2 nodes a side, a spacing not above 0, heights not
// one per node or not finite) as one line, or nothing.
std::string demError(const Dem& dem);

// The DEM's heights with relief scaled by factor about its lowest point:
// h_min + factor (h - h_min).
std::vector<double> scaledRelief(const Dem& dem, double factor);

} // namespace terrain
