#pragma once
// Conversions between numpy arrays and the libraries' vectors and refusals, shared by the binding
// files: arrays come in as float64 (numpy converts lists, integers and other float types), vectors
// go out as arrays that take their memory over, and a refusal of the libraries (a message without
// "ERROR: ") becomes a ValueError.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

namespace erosion_python {

namespace py = pybind11;

// Any array-like that numpy can turn into float64, in C order.
using DoubleArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The values of a one-dimensional array; ValueError naming the argument for another shape.
std::vector<double> toVector(const DoubleArray& values, const char* argument);

// The vector as a one-dimensional array, without a copy: the array owns the vector's memory.
py::array_t<double> toArray(std::vector<double>&& values);

// Raises ValueError with the message, if there is one.
void raiseIf(const std::optional<std::string>& refusal);

// {"time_ma": ..., "temperature_c": ..., "depth_m": ...}: a cooling path, oldest point first.
py::dict pathDict(
    std::vector<double>&& timeMa, std::vector<double>&& temperatureC, std::vector<double>&& depthM);

// Calls f(a, b) for every pair of elements of two arrays of one shape, whatever their strides
// (numpy's broadcast views repeat an element with a stride of 0), and returns the results as a
// new C-ordered array of that shape. The GIL is released meanwhile: f must not touch Python.
template <class Function>
py::array_t<double> mapPairs(const py::array& a, const py::array& b, Function f)
{
    const auto dimensions = static_cast<std::size_t>(a.ndim());
    const std::vector<py::ssize_t> shape(a.shape(), a.shape() + dimensions);
    const std::vector<py::ssize_t> aStrides(a.strides(), a.strides() + dimensions);
    const std::vector<py::ssize_t> bStrides(b.strides(), b.strides() + dimensions);
    py::array_t<double> result(shape);
    const py::ssize_t count = result.size();
    const auto* aData = static_cast<const char*>(a.data());
    const auto* bData = static_cast<const char*>(b.data());
    double* out = result.mutable_data();

    {
        const py::gil_scoped_release release;
        // The innermost dimension is walked by its strides; the outer ones count like an odometer.
        const std::size_t outer = dimensions > 0 ? dimensions - 1 : 0;
        const py::ssize_t inner = dimensions > 0 ? shape.back() : 1;
        const py::ssize_t aStep = dimensions > 0 ? aStrides.back() : 0;
        const py::ssize_t bStep = dimensions > 0 ? bStrides.back() : 0;
        std::vector<py::ssize_t> index(outer, 0);
        for (py::ssize_t done = 0; done < count; done += inner) {
            const char* aRow = aData;
            const char* bRow = bData;
            for (std::size_t d = 0; d < outer; ++d) {
                aRow += index[d] * aStrides[d];
                bRow += index[d] * bStrides[d];
            }
            for (py::ssize_t i = 0; i < inner; ++i)
                *out++ = f(*reinterpret_cast<const double*>(aRow + i * aStep),
                    *reinterpret_cast<const double*>(bRow + i * bStep));
            for (std::size_t d = outer; d-- > 0;) {
                if (++index[d] < shape[d])
                    break;
                index[d] = 0;
            }
        }
    }
    return result;
}

} // namespace erosion_python
