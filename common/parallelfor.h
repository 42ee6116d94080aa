#pragma once
// Runs body(i) for i = 0 .. count - 1 on several threads, each taking the next index as it
// finishes one, so that uneven items share out evenly. body must be safe to run concurrently for
// different i. The first exception thrown by any call is rethrown once all threads have stopped
// (the others stop taking new indices).

#include <cstddef>
#include <functional>

namespace ages {

// One thread per processor.
unsigned defaultThreadCount();

void parallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& body);

} // namespace ages
