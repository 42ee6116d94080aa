#include "arrays.h"

#include "inputerror.h"

namespace erosion_python {

std::vector<double> toVector(const DoubleArray& values, const char* argument)
{
    if (values.ndim() != 1)
        throw py::value_error(std::string(argument) + " must be a one-dimensional array (got "
            + std::to_string(values.ndim()) + " dimensions)");
    return std::vector<double>(values.data(), values.data() + values.size());
}

py::array_t<double> toArray(std::vector<double>&& values)
{
    auto* owned = new std::vector<double>(std::move(values));
    const py::capsule owner(
        owned, [](void* vector) { delete static_cast<std::vector<double>*>(vector); });
    return py::array_t<double>(static_cast<py::ssize_t>(owned->size()), owned->data(), owner);
}

void raiseIf(const std::optional<std::string>& refusal)
{
    // Raised by the module's translator, which reads a message quoting the user's bytes even
    // where they are not UTF-8.
    if (refusal)
        throw ages::InputError(*refusal);
}

py::dict pathDict(
    std::vector<double>&& timeMa, std::vector<double>&& temperatureC, std::vector<double>&& depthM)
{
    py::dict path;
    path["time_ma"] = toArray(std::move(timeMa));
    path["temperature_c"] = toArray(std::move(temperatureC));
    path["depth_m"] = toArray(std::move(depthM));
    return path;
}

} // namespace erosion_python
