#pragma once
// Keyword arguments made from a parameter table (common/parametertable.h): the keyword and its
// default are the table's, so that the module's signatures cannot drift from the programs'
// options.
//
//     module.def("history_path", &historyPath, py::arg("erosion"), py::kw_only(),
//         keyword(thermal::thermalParameter("-T")), optionalKeyword(thermal::thermalParameter("-b")), ...);

#include "parametertable.h"

#include <pybind11/pybind11.h>

namespace erosion_python {

// keyword = the table's default. The keywords are string literals of the tables, so that their
// text lives as long as the module.
template <class Owner, class Value>
pybind11::arg_v keyword(const parameters::Parameter<Owner, Value>& parameter)
{
    return pybind11::arg_v(parameter.text.keyword.data(), parameter.defaultValue());
}

// keyword = None: for a value whose absence means something (the other of two that exclude each
// other, or the default of a state that uses it).
template <class Owner, class Value>
pybind11::arg_v optionalKeyword(const parameters::Parameter<Owner, Value>& parameter)
{
    return pybind11::arg_v(parameter.text.keyword.data(), pybind11::none());
}

// The same for bounds (min, max), whose default is the run's own.
inline pybind11::arg_v optionalKeyword(const parameters::BoundsParameter& parameter)
{
    return pybind11::arg_v(parameter.text.keyword.data(), pybind11::none());
}

} // namespace erosion_python
