#include "recovery/RecoveryKeeper.h"

namespace krt {

void RecoveryKeeper::Changed(Clock::time_point now, bool unsaved)
{
    if (unsaved && !uncoveredSince)
        uncoveredSince = now;
}

RecoveryKeeper::Step RecoveryKeeper::Next(Clock::time_point now, bool busy, bool unsaved)
{
    if (!unsaved) {
        uncoveredSince.reset();
        if (!copyExists)
            return Step::Wait;
        copyExists = false;
        return Step::Remove;
    }
    // Unsaved changes without a copy are uncovered, however they came.
    if (!copyExists && !uncoveredSince)
        uncoveredSince = now;
    if (uncoveredSince && now - *uncoveredSince >= Delay && !busy)
        return Step::Write;
    return Step::Wait;
}

RecoveryKeeper::Step RecoveryKeeper::Discard(Clock::time_point now, bool unsaved)
{
    uncoveredSince.reset();
    if (unsaved)
        uncoveredSince = now;
    const bool existed = copyExists;
    copyExists = false;
    return existed ? Step::Remove : Step::Wait;
}

} // namespace krt
