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

void warnAsTheProgramDoes(const std::string_view report)
{
    constexpr std::string_view mark = "warning: ";
    const py::object warn = py::module_::import("warnings").attr("warn");
    for (std::size_t start = 0; start < report.size();) {
        std::size_t end = report.find('\n', start);
        if (end == std::string_view::npos)
            end = report.size();
        const std::string_view line = report.substr(start, end - start);
        if (line.starts_with(mark))
            warn(userText(line.substr(mark.size())), py::handle(PyExc_UserWarning), 1);
        start = end + 1;
    }
}

} // namespace erosion_python
