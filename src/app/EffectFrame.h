#pragma once

#include "document/Editor.h"
#include "document/Effect.h"
#include "paint/ToolPalette.h"
#include "paint/ViewHost.h"

namespace krt {

// The one road by which effects change the document. With a selection the
// move tool is made current as its palette button would (lifting the
// selection), the effect runs on FloatingPixels with a copy as its source,
// and the block's empty cells (KeyColor in the copy) stay empty whatever the
// effect wrote there; a cancelled effect then redraws nothing. Without a
// selection the image is backed up (which counts as a change once the effect
// is applied) and the effect runs on the image with BackupImage as its
// source. Effects without a dialog get an undo snapshot first; one with a
// dialog gets it when the user confirms, before the target is written.
class EffectFrame : public EffectRunner {
public:
    EffectFrame(Editor& e, ViewHost& w, ToolPalette& p) : editor(e), windows(w), palette(p) {}

    void ApplyEffect(Effect& effect) override;
    void RunWithBackup(
        const std::function<void(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed)>& run) override;
    void ShowChanges() override;

private:
    Editor& editor;
    ViewHost& windows;
    ToolPalette& palette;
};

} // namespace krt
