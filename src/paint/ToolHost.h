#pragma once

#include "core/FastBMP.h"
#include "document/Tools.h"

#include <string>

namespace krt {

struct ScreenPoint {
    int x;
    int y;
};

// What the tools and the edit commands ask of the windows. The editor's main
// window answers; tests record the calls.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    // Rebuild the view (or the preview) from the image and show it.
    virtual void RedrawView() = 0;
    virtual void RedrawPreview() = 0;
    // Rebuild the preview pixels over an image rectangle and show the preview.
    virtual void UpdatePreview(double x, double y, double w, double h) = 0;
    // Lay the preview out again for the image's size and redraw it, with the
    // selection outline when asked.
    virtual void RelayoutPreview(bool outline) = 0;
    // Show a scratch copy (with a rubber band) in place of the view or preview.
    virtual void ShowViewCopy(const TFastBMP& copy) = 0;
    virtual void ShowPreviewCopy(const TFastBMP& copy) = 0;
    virtual void RefreshColorPanels() = 0;
    // The document window's caption.
    virtual void SetViewCaption(const std::string& caption) = 0;
    // The pointer on the screen, for the Shift axis lock.
    virtual ScreenPoint PointerPosition() = 0;
    virtual void MovePointer(ScreenPoint point) = 0;
    // The text dialog, modal; the text position is already set.
    virtual void OpenTextDialog() = 0;
    // One step of the selection outline animation, at once.
    virtual void OutlineStep() = 0;
    // Presses a tool's palette button and runs its click handler.
    virtual void SelectTool(Tool tool) = 0;
    // Shows the move tool as chosen (button down, move cursor, options off)
    // without running its click handler: a block already floats.
    virtual void ShowMoveTool() = 0;
};

} // namespace krt
