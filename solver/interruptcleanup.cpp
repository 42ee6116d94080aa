#include "interruptcleanup.h"

#include <cerrno>
#include <chrono>
#include <ctime>

#include <pthread.h>

namespace erosion {

namespace {

// How often the watcher looks whether it should stop: bounds the wait at the end of a run.
constexpr auto pollInterval = std::chrono::milliseconds(50);

bool ignored(int signal)
{
    struct sigaction action { };
    return sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN;
}

// Ends the process by signal, as its default action does: the watcher is the one thread that
// lets it through.
[[noreturn]] void dieBy(int signal)
{
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
    std::_Exit(128 + signal); // not reached: the default action of these signals ends the process
}

} // namespace

InterruptCleanup::InterruptCleanup(PendingFiles& pending)
{
    sigemptyset(&m_watched);
    for (const int signal : { SIGINT, SIGTERM, SIGHUP }) {
        if (!ignored(signal))
            sigaddset(&m_watched, signal);
    }
    pthread_sigmask(SIG_BLOCK, &m_watched, &m_previousMask);
    struct sigaction ignore { };
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &m_previousPipeAction);
    m_watcher = std::jthread([this, &pending](std::stop_token stop) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(pollInterval);
        const timespec timeout { static_cast<std::time_t>(seconds.count()),
            static_cast<long>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(pollInterval - seconds)
                    .count()) };
        while (!stop.stop_requested()) {
            const int signal = sigtimedwait(&m_watched, nullptr, &timeout);
            if (signal > 0) {
                pending.abandon();
                dieBy(signal);
            }
        }
    });
}

InterruptCleanup::~InterruptCleanup()
{
    m_watcher.request_stop();
    m_watcher.join();
    // A signal that came after the watcher's last look is delivered now, with nothing to clean.
    pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
    sigaction(SIGPIPE, &m_previousPipeAction, nullptr);
}

} // namespace erosion
