#pragma once
// Overlapping a call that waits on the system (opening a file truncates the previous run's
// results, closing a large one hands it to the disk) with computation that needs no file.

#include <system_error>
#include <thread>

namespace erosion {

// Runs task on a thread of its own while work runs on this one, and returns when both are done.
// Where no thread can be had, runs task first, then work.
template <class Task, class Work> void runAlongside(Task& task, Work&& work)
{
    std::jthread taskThread;
    try {
        taskThread = std::jthread([&task] { task(); });
    } catch (const std::system_error&) {
        task();
    }
    work();
}

} // namespace erosion
