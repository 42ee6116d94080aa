// The module erosion_thermal._core: the suite's models, ages and fits for Python. The package
// erosion_thermal imports everything from here and adds the pandas tables.

#include "bindings.h"
#include "usertext.h"

#include "inputerror.h"
#include "observedages.h"

#include <stdexcept>

PYBIND11_MODULE(_core, module)
{
    module.doc() = "The models, ages and fits of the transient erosion thermal suite on numpy "
                   "arrays: the same library functions that the programs call.";

    // The libraries refuse what a user can mend by throwing std::invalid_argument or the
    // programs' input errors, raised as ValueError with the programs' messages; a message may
    // quote the user's own bytes, which need not be UTF-8.
    pybind11::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown)
                std::rethrow_exception(thrown);
        } catch (const ages::InputError& error) {
            erosion_python::setError(PyExc_ValueError, error.what());
        } catch (const ages::ObservedAgesError& error) {
            erosion_python::setError(PyExc_ValueError, error.what());
        } catch (const std::invalid_argument& error) {
            erosion_python::setError(PyExc_ValueError, error.what());
        }
    });

    erosion_python::bindTransient(module);
    erosion_python::bindPeriodic(module);
    erosion_python::bindHistory(module);
    erosion_python::bindAge(module);
    erosion_python::bindAges(module);
    erosion_python::bindFit(module);
    erosion_python::bindHistoryFit(module);
    erosion_python::bindTerrain(module);
    erosion_python::bindBatch(module);
}
