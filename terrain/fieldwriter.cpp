#include "fieldwriter.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace terrain {

namespace {

void put(std::string& out, const double value)
{
    std::array<char, 32> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    out.append(buffer.data(), end);
}

} // namespace

void writeTemperatureField(
    const std::string& path, const TerrainGrid& grid, const std::span<const double> temperatureC)
{
    if (temperatureC.size() != grid.nodeCount())
        throw std::invalid_argument("the field has " + std::to_string(temperatureC.size())
            + " temperatures for the grid's " + std::to_string(grid.nodeCount()) + " nodes");
    const int nx = grid.columns(), ny = grid.rows(), nz = grid.levels();
    const std::string extent = "0 " + std::to_string(nx - 1) + " 0 " + std::to_string(ny - 1)
        + " 0 " + std::to_string(nz - 1);
    std::string out
        = "<?xml version=\"1.0\"?>\n"
          "<VTKFile type=\"StructuredGrid\" version=\"0.1\" byte_order=\"LittleEndian\">\n"
          "<StructuredGrid WholeExtent=\""
        + extent + "\">\n<Piece Extent=\"" + extent + "\">\n";
    // VTK's order: x fastest, then y, then z; z upward, from the base (VTK's k = 0) to the
    // surface, so that the cells keep a positive orientation.
    const auto forEachNode = [&](auto&& f) {
        for (int k = nz - 1; k >= 0; --k)
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i)
                    f(i, j, k);
    };
    out += "<PointData Scalars=\"temperature_c\">\n"
           "<DataArray type=\"Float64\" Name=\"temperature_c\" format=\"ascii\">\n";
    forEachNode([&](const int i, const int j, const int k) {
        put(out, temperatureC[grid.node(i, j, k)]);
        out += '\n';
    });
    out += "</DataArray>\n</PointData>\n<Points>\n"
           "<DataArray type=\"Float64\" NumberOfComponents=\"3\" format=\"ascii\">\n";
    forEachNode([&](const int i, const int j, const int k) {
        put(out, grid.x(i));
        out += ' ';
        put(out, grid.y(j));
        out += ' ';
        put(out, grid.elevation(i, j, k));
        out += '\n';
    });
    out += "</DataArray>\n</Points>\n</Piece>\n</StructuredGrid>\n</VTKFile>\n";

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file)
        throw std::runtime_error(
            "the field '" + path + "' cannot be written: " + std::strerror(errno));
}

} // namespace terrain
