#pragma once
// Cleaning up after an interruption. While an InterruptCleanup lives, SIGINT, SIGTERM and SIGHUP
// are held back from every thread of the process and taken by one watcher thread instead, which
// removes the run's temporaries and then ends the process with the signal as it would have
// ended without us (so a shell still sees "killed by SIGINT"). A handler proper could not safely
// take the lock that keeps the temporaries consistent; a thread can.
//
// Construct it in main before any other thread starts: threads inherit the blocked signals.
// Signals the process was started with ignored (a background job's SIGINT, nohup's SIGHUP) stay
// ignored. SIGPIPE is ignored meanwhile: a result path that leads to a pipe whose reader has gone
// is a write failure (EPIPE) that the run reports and cleans up after, not a sudden death.

#include "replacementgroup.h"

#include <csignal>
#include <functional>
#include <thread>

namespace erosion {

class InterruptCleanup {
public:
    explicit InterruptCleanup(wholefile::ReplacementGroup& pending);
    // The same with the cleanup given: e.g. wholefile::abandonEveryGroup, for a program whose
    // groups live in the functions that fill them.
    explicit InterruptCleanup(std::function<void()> cleanup);
    InterruptCleanup(const InterruptCleanup&) = delete;
    InterruptCleanup& operator=(const InterruptCleanup&) = delete;
    // Stops the watcher and lets the signals through again.
    ~InterruptCleanup();

private:
    // The watcher's loop: waits for a watched signal until asked to stop.
    void watch(const std::function<void()>& cleanup, const std::stop_token& stop);

    sigset_t m_watched {};
    sigset_t m_previousMask {};
    struct sigaction m_previousPipeAction { };
    std::function<void()> m_cleanup;
    std::jthread m_watcher;
};

} // namespace erosion
