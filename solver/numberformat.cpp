#include "numberformat.h"

#include <cstdio>

namespace erosion {

char* formatNumber(double value, char* out)
{
    // The program never changes LC_NUMERIC, so snprintf runs in the "C" locale here.
    char buffer[maxNumberLength + 8];
    const int length = std::snprintf(buffer, sizeof buffer, "%#.4g", value);
    for (int i = 0; i < length; ++i)
        *out++ = buffer[i];
    return out;
}

std::string formatNumber(double value)
{
    char buffer[maxNumberLength];
    return std::string(buffer, formatNumber(value, buffer));
}

} // namespace erosion
