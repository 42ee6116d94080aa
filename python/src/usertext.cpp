#include "usertext.h"

#include <string>

namespace erosion_python {

py::str userText(const std::string_view text)
{
    PyObject* decoded
        = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
    if (!decoded)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(decoded);
}

void setError(PyObject* exceptionType, const std::string_view message)
{
    PyObject* decoded
        = PyUnicode_DecodeUTF8(message.data(), static_cast<Py_ssize_t>(message.size()), "replace");
    if (!decoded)
        return; // the decoding's own error is set
    PyErr_SetObject(exceptionType, decoded);
    Py_DECREF(decoded);
}

void raiseWarnings(const std::vector<textformat::Warning>& warnings)
{
    const py::object warn = py::module_::import("warnings").attr("warn");
    for (const textformat::Warning& warning : warnings)
        warn(userText(warning.text), py::handle(PyExc_UserWarning), 1);
}

py::list warningValues(const std::vector<textformat::Warning>& warnings)
{
    py::list values;
    for (const textformat::Warning& warning : warnings) {
        py::list samples;
        for (const std::string& sample : warning.samples)
            samples.append(userText(sample));
        py::dict value;
        value["kind"] = warning.kind;
        value["samples"] = samples;
        value["text"] = userText(warning.text);
        values.append(value);
    }
    return values;
}

} // namespace erosion_python
