#include "parallelfor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace ages {

unsigned defaultThreadCount()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

void parallelFor(
    const std::size_t count, const unsigned threads, const std::function<void(std::size_t)>& body)
{
    std::atomic<std::size_t> next { 0 };
    std::atomic<bool> failed { false };
    std::exception_ptr firstError;
    std::mutex errorLock;

    const auto work = [&] {
        for (std::size_t i; !failed.load(std::memory_order_relaxed) && (i = next++) < count;) {
            try {
                body(i);
            } catch (...) {
                const std::lock_guard lock(errorLock);
                if (!firstError)
                    firstError = std::current_exception();
                failed = true;
            }
        }
    };

    const std::size_t helpers = std::min<std::size_t>(std::max(threads, 1u), count) - (count > 0);
    {
        std::vector<std::jthread> pool;
        pool.reserve(helpers);
        for (std::size_t t = 0; t < helpers; ++t)
            pool.emplace_back(work);
        work(); // the calling thread takes its share too
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

} // namespace ages
