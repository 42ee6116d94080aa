#include "surfaceages.h"

#include "predict.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace terrain {

thermochron::Method ageMethod(const thermochron::System system)
{
    return thermochron::kineticMethod(system).value_or(thermochron::Method::Dodson);
}

std::vector<std::vector<double>> surfaceAges(const std::span<const RockPath> paths,
    const std::span<const thermochron::System> systems, const thermochron::Grain& grain,
    const int threads)
{
    std::vector<std::vector<double>> ages(systems.size(), std::vector<double>(paths.size()));
    // Work handed out path by path: a kinetic age costs about the same on every path.
    std::atomic<std::size_t> next { 0 };
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&] {
        try {
            for (std::size_t p = next++; p < paths.size(); p = next++)
                for (std::size_t s = 0; s < systems.size(); ++s)
                    ages[s][p] = thermochron::predictAge(
                        paths[p].cooling, systems[s], ageMethod(systems[s]), grain)
                                     .ageMa;
        } catch (...) {
            const std::lock_guard lock(failureLock);
            failure = std::current_exception();
            next = paths.size();
        }
    };
    const int count = threads > 0
        ? threads
        : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::jthread> pool;
    for (int t = 1; t < count; ++t)
        pool.emplace_back(work);
    work();
    pool.clear(); // joins
    if (failure)
        std::rethrow_exception(failure);
    return ages;
}

} // namespace terrain
