#pragma once
// Text that comes back to Python from the libraries: messages, summaries and table fields that
// may quote what the user wrote (a sample name, a file name). The libraries keep the user's
// bytes as they are, and a file saved in Latin-1 holds bytes that are not UTF-8: they are
// decoded with U+FFFD in place of each byte that cannot be read, so that a result or a refusal
// never fails on its own text.

#include <pybind11/pybind11.h>

#include <string_view>

namespace erosion_python {

namespace py = pybind11;

// The text as a str, any bytes that are not UTF-8 replaced by U+FFFD.
py::str userText(std::string_view text);

// Raises exceptionType with the message as userText decodes it (for the exception translator).
void setError(PyObject* exceptionType, std::string_view message);

// The lines of a program's report that warn ("warning: ..."), raised as UserWarnings without
// that mark.
void warnAsTheProgramDoes(std::string_view report);

} // namespace erosion_python
