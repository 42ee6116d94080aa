#pragma once
// Ctrl-C during a long computation. The interpreter handles a signal in its main thread, between
// bytecodes, so a fit that runs in C++ would hear of it only once it is done. Here the work runs
// on a thread of its own while the calling thread, the GIL released, waits for it and every
// checkInterval takes the GIL back for a moment to run the signal handlers (PyErr_CheckSignals).
// When a handler raises (SIGINT: KeyboardInterrupt), the work is told to stop: its progress
// reports, which the engines call in their loops, throw Interrupted, which ends the fit as any
// exception of the misfit does; the Python exception is then raised.
//
//     const FitResult result = runInterruptibly([&](const ages::FitProgress& progress) {
//         return ages::requestedFit(request, fit, progress);   // must not touch Python
//     });

#include "ratefit.h"

#include <pybind11/pybind11.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <future>

namespace erosion_python {

// What the progress report of an interrupted computation throws. Not a std::runtime_error, so
// that no refusal of the libraries' takes it for one of theirs.
class Interrupted : public std::exception {
public:
    const char* what() const noexcept override { return "interrupted"; }
};

// How often a waiting computation looks for signals: a person sees the stop as at once.
inline constexpr std::chrono::milliseconds checkInterval { 50 };

// Runs work(progress) on its own thread and returns its result; call with the GIL held. The
// progress report may be called from any thread and throws Interrupted once a signal handler has
// raised; that Python exception is then raised here (py::error_already_set) once the work has
// ended. An exception of the work is passed on: the work must not touch Python.
template <class Work> auto runInterruptibly(Work work)
{
    std::atomic<bool> stop { false };
    const ages::FitProgress progress = [&stop](double) {
        if (stop.load(std::memory_order_relaxed))
            throw Interrupted();
    };
    auto done = std::async(std::launch::async, [&] { return work(progress); });
    for (;;) {
        bool finished = false;
        {
            const pybind11::gil_scoped_release release;
            finished = done.wait_for(checkInterval) == std::future_status::ready;
        }
        if (finished)
            break;
        if (PyErr_CheckSignals() != 0) {
            stop = true;
            {
                const pybind11::gil_scoped_release release;
                done.wait();
            }
            throw pybind11::error_already_set();
        }
    }
    return done.get();
}

} // namespace erosion_python
