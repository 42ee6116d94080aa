#pragma once
// GDAL's C handles owned by unique_ptr, so that every dataset, reference system, transformation
// and option list is released on every path out of a function, exceptions included.

#include <cpl_string.h>
#include <gdal.h>
#include <gdal_utils.h>
#include <ogr_srs_api.h>

#include <memory>
#include <type_traits>

namespace terrain::gdal {

struct DatasetCloser {
    void operator()(GDALDatasetH dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<std::remove_pointer_t<GDALDatasetH>, DatasetCloser>;

struct ReferenceRelease {
    void operator()(OGRSpatialReferenceH reference) const { OSRDestroySpatialReference(reference); }
};
using SpatialReference
    = std::unique_ptr<std::remove_pointer_t<OGRSpatialReferenceH>, ReferenceRelease>;

struct TransformationRelease {
    void operator()(OGRCoordinateTransformationH transformation) const
    {
        OCTDestroyCoordinateTransformation(transformation);
    }
};
using Transformation
    = std::unique_ptr<std::remove_pointer_t<OGRCoordinateTransformationH>, TransformationRelease>;

struct WarpOptionsRelease {
    void operator()(GDALWarpAppOptions* options) const { GDALWarpAppOptionsFree(options); }
};
using WarpOptions = std::unique_ptr<GDALWarpAppOptions, WarpOptionsRelease>;

// Registers GDAL's drivers once, before the first use.
void registerDrivers();

// GDAL's last error message, or what if there is none.
const char* lastError(const char* what);

// A reference system from WKT or an authority code ("EPSG:4326"), longitude first whatever the
// authority's axis order, so that x is east; null when the text is empty. Throws
// std::runtime_error naming the text when GDAL cannot read it.
SpatialReference referenceFrom(const char* text);

} // namespace terrain::gdal
