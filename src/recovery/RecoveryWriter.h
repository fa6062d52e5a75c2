#pragma once

#include "core/FastBMP.h"
#include "recovery/RecoveryStore.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace krt {

// What one recovery copy holds: the picture as it shows (a floating block
// included) and what it belongs to.
struct RecoverySnapshot {
    TFastBMP picture;
    RecoveryCopy about; // file name, title, JPEG quality, time
};

// Writes and removes this editor's recovery copy on a thread of its own, one
// task after the other, so the interface only ever copies the pixels. A copy
// that cannot be written does not interrupt anybody: each kind of failure is
// said once on standard error, and `failed` is called (on the worker thread)
// so the next attempt can come later.
class RecoveryWriter {
public:
    RecoveryWriter(RecoveryStore& store, std::function<void()> failed);
    // Finishes the tasks handed over, then stops.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // Whether a copy is still being written (a new snapshot then waits).
    bool Writing() const;
    void Write(RecoverySnapshot snapshot);
    void Remove();
    // Waits until every task handed over is done.
    void Finish();

private:
    struct Task {
        bool write;
        RecoverySnapshot snapshot;
    };
    void Run();
    void Report(const std::string& failure);

    RecoveryStore& store;
    std::function<void()> failed;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Task> tasks;
    bool working = false;
    bool stopping = false;
    std::set<std::string> reported;
    std::thread worker;
};

} // namespace krt
