#include "gdalhandles.h"

#include <cpl_error.h>

#include <mutex>
#include <stdexcept>
#include <string>

namespace terrain::gdal {

void registerDrivers()
{
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

const char* lastError(const char* what)
{
    const char* message = CPLGetLastErrorMsg();
    return message && *message ? message : what;
}

SpatialReference referenceFrom(const char* text)
{
    if (!text || !*text)
        return nullptr;
    SpatialReference reference(OSRNewSpatialReference(nullptr));
    if (OSRSetFromUserInput(reference.get(), text) != OGRERR_NONE)
        throw std::runtime_error(
            std::string("GDAL cannot read the coordinate system '") + text + "'");
    OSRSetAxisMappingStrategy(reference.get(), OAMS_TRADITIONAL_GIS_ORDER);
    return reference;
}

} // namespace terrain::gdal
