#pragma once
// The temperature field as a VTK XML structured grid (.vts), which ParaView and VisIt open: the
// grid's nodes at their (x, y, z) in metres, the DEM's coordinates and elevation, and the
// temperature (C) at each as the point data "temperature_c". The format is a few lines of XML
// around two arrays; a writer of our own serves it without the VTK library, whose size would
// dwarf the model for this one file. ASCII, numbers written locale-free and round-trip exact.
//
//     terrain::writeTemperatureField("field.vts", run.presentGrid, run.presentTemperatureC);

#include "terraingrid.h"

#include <span>
#include <string>

namespace terrain {

// Throws std::runtime_error naming the file when it cannot be written, std::invalid_argument
// when the field does not match the grid.
void writeTemperatureField(
    const std::string& path, const TerrainGrid& grid, std::span<const double> temperatureC);

} // namespace terrain
