// The module erosion_thermal._core: the suite's models, ages and fits for Python. The package
// erosion_thermal imports everything from here and adds the pandas tables.

#include "bindings.h"

#include "inputerror.h"
#include "observedages.h"

PYBIND11_MODULE(_core, module)
{
    module.doc() = "The models, ages and fits of the transient erosion thermal suite on numpy "
                   "arrays: the same library functions that the programs call.";

    // The libraries refuse what a user can mend by throwing std::invalid_argument (which
    // pybind11 raises as ValueError) or the programs' input errors, raised as ValueError too,
    // with the programs' messages.
    pybind11::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown)
                std::rethrow_exception(thrown);
        } catch (const ages::InputError& error) {
            PyErr_SetString(PyExc_ValueError, error.what());
        } catch (const ages::ObservedAgesError& error) {
            PyErr_SetString(PyExc_ValueError, error.what());
        }
    });

    erosion_python::bindTransient(module);
    erosion_python::bindPeriodic(module);
    erosion_python::bindHistory(module);
    erosion_python::bindAge(module);
    erosion_python::bindAges(module);
    erosion_python::bindFit(module);
}
