#pragma once

#include "core/FastBMP.h"

#include <functional>

namespace krt {

// What an effect calls when the user confirms it, before it writes its
// target: the frame takes the undo snapshot there.
using Confirm = std::function<void()>;

// An effect as the effect frame sees it: it writes its result into a target,
// reading an unchanged source copy of the same size, and says whether it was
// applied. An effect with a dialog calls `confirmed` when the user confirms
// and only then writes the target; for one without a dialog the frame takes
// the snapshot first and `confirmed` does nothing.
class Effect {
public:
    virtual ~Effect() = default;
    virtual bool HasDialog() const = 0;
    virtual bool Run(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed) = 0;
};

// The effect frame as the windows reach it: the one road by which effects
// change the document.
class EffectRunner {
public:
    virtual ~EffectRunner() = default;
    // Runs an effect on the floating selection, or else on the whole image,
    // and redraws.
    virtual void ApplyEffect(Effect& effect) = 0;
    // The editors of new deformations and filters: `editor` runs with the
    // image as target and BackupImage as source (a try-out it confirms takes
    // an undo snapshot through `confirmed`); afterwards the image is put back
    // as it was, so a try-out never stays in the document.
    virtual void RunWithBackup(
        const std::function<void(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed)>& editor) = 0;
    // Redraws the view and the preview: an editor's try-out shows in the
    // document while the editor stays open.
    virtual void ShowChanges() = 0;
};

} // namespace krt
