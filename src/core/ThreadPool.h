#pragma once

#include <functional>
#include <thread>
#include <vector>

namespace krt {

// Threads that each run one function and are joined when the pool goes (also
// when an exception unwinds). A thread the system cannot start (a process or
// memory limit) is skipped: Start returns false and the caller does the work
// with the threads it has, down to itself alone. Nothing here aborts.
class ThreadPool {
public:
    ThreadPool() = default;
    ~ThreadPool() { Join(); }
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    bool Start(std::function<void()> work) noexcept;
    int Size() const { return static_cast<int>(threads.size()); }
    void Join() noexcept;

    // One thread per processor core (at least one), or `wanted` when above 0.
    static int Count(int wanted);

private:
    std::vector<std::thread> threads;
};

// Runs rows(from, to) over `height` rows cut into `slices` equal slices, on the
// calling thread and up to slices - 1 more. Each slice is the same whoever
// runs it, so results never depend on how many threads could be started.
void ParallelRows(int height, int slices, const std::function<void(int from, int to)>& rows);

} // namespace krt
