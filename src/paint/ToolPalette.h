#pragma once

#include "document/Tools.h"

namespace krt {

// What the engine asks of the tool palette and the colour panels.
class ToolPalette {
public:
    virtual ~ToolPalette() = default;
    // Presses a tool's palette button and runs its click handler (any tool
    // but the move tool drops a floating block; the move tool lifts one).
    virtual void SelectTool(Tool tool) = 0;
    // Shows the move tool as chosen (button down, move cursor, options off)
    // without running its click handler: a block already floats.
    virtual void ShowMoveTool() = 0;
    // The colours changed: redraw the swatches, bars and boxes.
    virtual void RefreshColorPanels() = 0;
};

} // namespace krt
