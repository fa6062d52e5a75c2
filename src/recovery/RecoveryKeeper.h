#pragma once

#include <chrono>
#include <optional>

namespace krt {

// When the editor writes or removes its recovery copy. A change that the last
// copy does not hold is written no later than Delay after it, but never while
// a stroke, a drag or an effect is under way (then right after it); a picture
// without unsaved changes has no copy. Time comes in from outside, so the
// schedule is tested with a clock of the tests' own.
class RecoveryKeeper {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds Delay{30};
    enum class Step { Wait, Write, Remove };

    // Something the user did has ended (the document may have changed);
    // `unsaved`: the document has unsaved changes now.
    void Changed(Clock::time_point now, bool unsaved);
    // What to do now; `busy`: a stroke, drag or effect is under way.
    Step Next(Clock::time_point now, bool busy, bool unsaved);
    // A snapshot of the document went to the writer: it holds every change so far.
    void Written()
    {
        uncoveredSince.reset();
        copyExists = true;
    }
    // The writer could not write it: the next attempt comes Delay later.
    void WriteFailed(Clock::time_point now) { uncoveredSince = now; }
    // The changes were saved, or the user chose to drop them: the copy goes.
    // When the document still has unsaved changes (the command that asked
    // did not go on), they are written again in time.
    Step Discard(Clock::time_point now, bool unsaved);
    // A copy left by an editor that died became this editor's document.
    void Adopted() { copyExists = true; }

    bool CopyExists() const { return copyExists; }

private:
    std::optional<Clock::time_point> uncoveredSince; // the first change the copy lacks
    bool copyExists = false;
};

} // namespace krt
