#pragma once
// The grain's keywords, which every function that dates takes after its own (in the order of
// GrainArguments: radii, U, Th, Sm, Dpar, the helium kinetics, the argon radii and pressure,
// Californium irradiation, the zircon fission-track kinetics), and the spreading of such a list
// into module.def, so that the list is written once:
//
//     defineFunction(module, "ages", &agesAlongPath, py::arg("path"), py::kw_only(),
//         py::arg("method") = "all", grainKeywords(), help.c_str());

#include "settingsinput.h"
#include "tablearguments.h"

#include "agesettings.h"
#include "parametertables.h"

#include <pybind11/pybind11.h>

#include <tuple>
#include <type_traits>
#include <utility>

namespace erosion_python {

// kinetics_keyword = the catalogue's default kinetics of the option's system.
inline pybind11::arg_v kineticsKeyword(const ages::KineticsOption& option)
{
    return pybind11::arg_v(option.keyword.data(), defaultKineticsName(option.system));
}

inline auto grainKeywords()
{
    using ages::grainParameter;
    const auto& kinetics = ages::kineticsOptions;
    return std::make_tuple(keyword(grainParameter("--apatite-radius")),
        keyword(grainParameter("--zircon-radius")), keyword(grainParameter("--u")),
        keyword(grainParameter("--th")), keyword(grainParameter("--sm")),
        keyword(grainParameter("--dpar")), kineticsKeyword(kinetics[0]),
        kineticsKeyword(kinetics[1]), keyword(grainParameter("--biotite-radius")),
        keyword(grainParameter("--muscovite-radius")),
        keyword(grainParameter("--hornblende-radius")), keyword(grainParameter("--pressure")),
        pybind11::arg_v("cf_irradiated", false), kineticsKeyword(kinetics[2]));
}

namespace detail {

template <class T>
struct IsTuple : std::false_type { };
template <class... T>
struct IsTuple<std::tuple<T...>> : std::true_type { };

template <class Piece>
auto asTuple(Piece&& piece)
{
    if constexpr (IsTuple<std::decay_t<Piece>>::value)
        return std::forward<Piece>(piece);
    else
        return std::make_tuple(std::forward<Piece>(piece));
}

} // namespace detail

// module.def(name, function, pieces...), each piece an argument (or the docstring) or a tuple of
// them, spread in place.
template <class Function, class... Pieces>
void defineFunction(pybind11::module_& module, const char* name, Function function, Pieces&&... pieces)
{
    std::apply([&](auto&&... extras) { module.def(name, function, extras...); },
        std::tuple_cat(detail::asTuple(std::forward<Pieces>(pieces))...));
}

} // namespace erosion_python
