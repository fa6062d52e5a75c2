#pragma once

#include "document/Tools.h"

namespace krt {

// What the child windows ask of each other, through the main window: each
// call redraws the engine's buffer and has the window that shows it repaint.
class EditorWindows {
public:
    virtual ~EditorWindows() = default;
    virtual void RedrawView() = 0;
    virtual void RedrawPreview() = 0;
    virtual void RefreshColorPanels() = 0;
    // Presses a tool button of the palette and runs its click handler.
    virtual void SelectTool(Tool tool) = 0;
    // Lays the preview out again and redraws it, with the selection outline
    // when asked.
    virtual void RelayoutPreview(bool outline) = 0;
    // Enables the option groups of the options window (ToolOptions flags).
    virtual void EnableOptions(unsigned options) = 0;
    // True from creating the editor state until the windows are set up.
    virtual bool StartingUp() const = 0;
};

} // namespace krt
