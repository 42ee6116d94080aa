// The compiled part of fit_batch (the package's erosion_thermal.fit_batch shares the groups out,
// on local threads or as Dask tasks): the groups of a compilation as cooling_ages batch reads
// them (observedgroups.h), the batch's model (made by _batch_model_transient, _periodic and
// _history from the arguments of the fits of one file), and the fit of one group or of many
// (batchfit.h), each row a list of the table's values: floats (NaN for an empty field) and str.

#include "bindings.h"
#include "interruption.h"
#include "usertext.h"

#include "batchfit.h"
#include "observedages.h"
#include "observedgroups.h"

#include <pybind11/stl.h>

#include <sstream>

namespace erosion_python {

namespace {

py::list rowValues(const ages::BatchRow& row)
{
    py::list values;
    for (const ages::TableValue& value : row.values) {
        if (const double* number = std::get_if<double>(&value))
            values.append(py::float_(*number));
        else
            values.append(userText(std::get<std::string>(value)));
    }
    return values;
}

std::vector<ages::ObservedGroup> batchGroups(
    const std::string& text, const std::string& label, const std::string& column)
{
    std::istringstream stream(text);
    return ages::groupObservedRows(stream, label, column).groups;
}

py::list fitOneGroup(const ages::BatchModel& model, const ages::ObservedGroup& group)
{
    ages::BatchRow row;
    {
        const py::gil_scoped_release release;
        row = ages::fitGroup(model, group);
    }
    return rowValues(row);
}

py::list fitManyGroups(
    const ages::BatchModel& model, const std::vector<ages::ObservedGroup>& groups, unsigned threads)
{
    std::vector<const ages::ObservedGroup*> pointers;
    for (const ages::ObservedGroup& group : groups)
        pointers.push_back(&group);
    // On a thread of its own, the GIL released, Ctrl-C heard between groups.
    const std::vector<ages::BatchRow> rows
        = runInterruptibly([&](const ages::FitProgress& progress) {
              return ages::fitGroups(model, pointers, std::max(threads, 1u),
                  [&](std::size_t, const ages::BatchRow&) { progress(0); });
          });
    py::list table;
    for (const ages::BatchRow& row : rows)
        table.append(rowValues(row));
    return table;
}

// A group travels to a Dask worker as its plain values.
py::tuple groupState(const ages::ObservedGroup& group)
{
    py::list rows;
    for (const ages::ObservedRow& row : group.rows)
        rows.append(py::make_tuple(row.line, py::bytes(row.text)));
    return py::make_tuple(py::bytes(group.name), py::bytes(group.column), group.headerLine,
        py::bytes(group.header), rows);
}

ages::ObservedGroup groupOfState(const py::tuple& state)
{
    ages::ObservedGroup group;
    group.name = state[0].cast<std::string>();
    group.column = state[1].cast<std::string>();
    group.headerLine = state[2].cast<int>();
    group.header = state[3].cast<std::string>();
    for (const py::handle row : state[4].cast<py::list>()) {
        const py::tuple pair = row.cast<py::tuple>();
        group.rows.push_back({ pair[0].cast<int>(), pair[1].cast<std::string>() });
    }
    return group;
}

} // namespace

void bindBatch(py::module_& module)
{
    py::class_<ages::BatchModel>(module, "_BatchModel",
        "The model and options every group of a batch is fitted with (fit_batch makes it).")
        .def_property_readonly(
            "columns", &ages::batchColumns, "The columns of the batch's table, in order.");

    py::class_<ages::ObservedGroup>(module, "_ObservedGroup",
        "The rows of one group of a compilation, at their lines of the file.")
        .def_property_readonly(
            "name", [](const ages::ObservedGroup& group) { return userText(group.name); })
        .def_property_readonly(
            "ages", [](const ages::ObservedGroup& group) { return group.rows.size(); })
        .def(py::pickle(&groupState, &groupOfState));

    module.def("_batch_groups", &batchGroups, py::arg("text"), py::arg("label"), py::arg("by"),
        "The groups of the text of a file of measured ages by the column by, in the order of "
        "their first rows, as cooling_ages batch --by reads them.");
    module.def("_fit_group", &fitOneGroup, py::arg("model"), py::arg("group"),
        "The row of one group fitted with the model: a list of the table's values.");
    module.def("_fit_groups", &fitManyGroups, py::arg("model"), py::arg("groups"),
        py::arg("threads"),
        "The rows of the groups fitted on local threads (the GIL released; Ctrl-C stops it).");
}

} // namespace erosion_python
