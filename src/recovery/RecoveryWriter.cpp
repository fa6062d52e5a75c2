#include "recovery/RecoveryWriter.h"

#include <cstdio>
#include <exception>

namespace krt {

RecoveryWriter::RecoveryWriter(RecoveryStore& s, std::function<void()> onFailure)
    : store(s), failed(std::move(onFailure)), worker([this] { Run(); })
{}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
}

bool RecoveryWriter::Writing() const
{
    std::lock_guard lock(mutex);
    for (const Task& task : tasks)
        if (task.write)
            return true;
    return working;
}

void RecoveryWriter::Write(RecoverySnapshot snapshot)
{
    {
        std::lock_guard lock(mutex);
        tasks.push_back({true, std::move(snapshot)});
    }
    wake.notify_one();
}

void RecoveryWriter::Remove()
{
    {
        std::lock_guard lock(mutex);
        tasks.push_back({false, {}});
    }
    wake.notify_one();
}

void RecoveryWriter::Finish()
{
    std::unique_lock lock(mutex);
    idle.wait(lock, [this] { return tasks.empty() && !working; });
}

void RecoveryWriter::Run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || !tasks.empty(); });
        if (tasks.empty())
            return; // stopping, and nothing left to do
        Task task = std::move(tasks.front());
        tasks.pop_front();
        working = true;
        lock.unlock();
        try {
            if (task.write)
                store.Write(task.snapshot.picture, task.snapshot.about);
            else
                store.Remove();
        } catch (const std::exception& e) {
            Report(e.what());
            if (task.write && failed)
                failed();
        }
        lock.lock();
        working = false;
        if (tasks.empty())
            idle.notify_all();
    }
}

// One line per kind of failure, not one per attempt.
void RecoveryWriter::Report(const std::string& failure)
{
    std::lock_guard lock(mutex);
    if (reported.insert(failure).second)
        std::fprintf(stderr, "krtphoto: the recovery copy is not kept: %s\n", failure.c_str());
}

} // namespace krt
