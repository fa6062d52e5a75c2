#include "core/ThreadPool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

namespace krt {

bool ThreadPool::Start(std::function<void()> work) noexcept
{
    try {
        threads.reserve(threads.size() + 1);
        threads.emplace_back(std::move(work));
        return true;
    } catch (...) {
        // std::system_error (no thread for the process) or std::bad_alloc.
        return false;
    }
}

void ThreadPool::Join() noexcept
{
    for (std::thread& thread : threads)
        if (thread.joinable())
            thread.join();
    threads.clear();
}

int ThreadPool::Count(int wanted)
{
    return std::max(1, wanted > 0 ? wanted : static_cast<int>(std::thread::hardware_concurrency()));
}

void ParallelRows(int height, int slices, const std::function<void(int from, int to)>& rows)
{
    slices = std::clamp(slices, 1, std::max(height, 1));
    if (slices == 1) {
        rows(0, height);
        return;
    }
    std::atomic<int> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&] {
        for (int i = next++; i < slices; i = next++) {
            try {
                rows(static_cast<int>(static_cast<long>(height) * i / slices),
                     static_cast<int>(static_cast<long>(height) * (i + 1) / slices));
            } catch (...) {
                std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
            }
        }
    };
    ThreadPool pool;
    for (int t = 1; t < slices; ++t)
        if (!pool.Start(work))
            break;
    work();
    pool.Join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace krt
