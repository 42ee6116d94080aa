#include "interruptcleanup.h"

#include <cerrno>
#include <ctime>
#include <system_error>
#include <utility>

#include <pthread.h>

namespace erosion {

namespace {

// How often the watcher looks whether it should stop (50 ms): bounds the wait at the end of a run.
constexpr timespec pollInterval { 0, 50'000'000 };

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

InterruptCleanup::InterruptCleanup(wholefile::ReplacementGroup& pending)
    : InterruptCleanup([&pending] { pending.abandon(); })
{
}

InterruptCleanup::InterruptCleanup(std::function<void()> cleanup)
    : m_cleanup(std::move(cleanup))
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
    try {
        m_watcher = std::jthread([this](std::stop_token stop) { watch(m_cleanup, stop); });
    } catch (const std::system_error&) {
        // No thread to be had: the signals act as they would without us.
        pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
    }
}

void InterruptCleanup::watch(const std::function<void()>& cleanup, const std::stop_token& stop)
{
    while (!stop.stop_requested()) {
        const int signal = sigtimedwait(&m_watched, nullptr, &pollInterval);
        if (signal > 0) {
            cleanup();
            dieBy(signal);
        }
    }
}

InterruptCleanup::~InterruptCleanup()
{
    if (m_watcher.joinable()) {
        m_watcher.request_stop();
        m_watcher.join();
    }
    // A signal that came after the watcher's last look is delivered now, with nothing to clean.
    pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
    sigaction(SIGPIPE, &m_previousPipeAction, nullptr);
}

} // namespace erosion
