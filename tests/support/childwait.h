#pragma once
// Waiting for a program that a process test started, with a time limit, so that a program that
// hangs fails its test instead of stalling the whole suite.

#include <sys/types.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <thread>

// The wait status of child once it has ended, or nothing when it was still running after limit
// (it is then killed and reaped).
inline std::optional<int> waitForChild(pid_t child, std::chrono::steady_clock::duration limit)
{
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return status;
}
