#pragma once
// Text that comes back to Python from the libraries: messages, summaries and table fields that
// may quote what the user wrote (a sample name, a file name). The libraries keep the user's
// bytes as they are, and a file saved in Latin-1 holds bytes that are not UTF-8: they are
// decoded with U+FFFD in place of each byte that cannot be read, so that a result or a refusal
// never fails on its own text.

#include <pybind11/pybind11.h>

#include "textformat.h"

#include <string_view>
#include <vector>

namespace erosion_python {

namespace py = pybind11;

// The text as a str, any bytes that are not UTF-8 replaced by U+FFFD.
py::str userText(std::string_view text);

// Raises exceptionType with the message as userText decodes it (for the exception translator).
void setError(PyObject* exceptionType, std::string_view message);

// Each warning's text raised as a UserWarning, in order.
void raiseWarnings(const std::vector<textformat::Warning>& warnings);

// The warnings as a list of dicts: kind, samples (a list of names), text.
py::list warningValues(const std::vector<textformat::Warning>& warnings);

} // namespace erosion_python
