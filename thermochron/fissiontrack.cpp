#include "fissiontrack.h"

#include <stdexcept>

namespace thermochron {

double mostResistantReducedLength(double, double)
{
    throw std::logic_error("not yet");
}
double resistantLengthThreshold(double)
{
    throw std::logic_error("not yet");
}
double reducedLength(double, double)
{
    throw std::logic_error("not yet");
}
double reducedDensity(double)
{
    throw std::logic_error("not yet");
}
Age apatiteFissionTrackAge(const CoolingPath&, const Grain&, const AnnealingResolution&)
{
    throw std::logic_error("not yet");
}

} // namespace thermochron
