#include "heliumdiffusion.h"

#include <stdexcept>

namespace thermochron {

HeliumKinetics heliumKinetics(HeliumMineral)
{
    throw std::logic_error("not yet");
}
double retainedAlphaFraction(double, double, double)
{
    throw std::logic_error("not yet");
}
double ejectionCorrection(const Grain&, const HeliumKinetics&)
{
    throw std::logic_error("not yet");
}
double heliumIngrowth(const Grain&, double)
{
    throw std::logic_error("not yet");
}
double ingrowthAge(const Grain&, double)
{
    throw std::logic_error("not yet");
}
Age heliumAge(const CoolingPath&, const HeliumKinetics&, const Grain&, const HeliumResolution&)
{
    throw std::logic_error("not yet");
}
Age heliumAge(const CoolingPath&, HeliumMineral, const Grain&, const HeliumResolution&)
{
    throw std::logic_error("not yet");
}

} // namespace thermochron
