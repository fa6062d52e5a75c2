#pragma once

#include "document/Tools.h"
#include "paint/BrushOptions.h"

#include <array>

namespace krt {

// The view's cursor for a tool.
enum class ToolCursor { Paint = 1, Move = 2, TextBeam = 3 };

// What sets one tool apart: its palette button, the option groups and cursor
// it shows, and how the tool engine treats its mouse events.
struct ToolTraits {
    Tool tool;
    const char* button; // the palette button's object name
    unsigned options;   // ToolOptions the options window enables for it
    ToolCursor cursor;
    bool takesModifiers; // Alt turns it into the picker, Shift locks a drag to an axis
    bool changesImage;   // a press saves the backup and an undo snapshot first
    bool redrawsOnMove;  // the view and the preview are rebuilt after each drag step
};

// The tools in palette order (two columns, seven rows).
const std::array<ToolTraits, ToolCount>& AllTools();
const ToolTraits& Traits(Tool tool);

} // namespace krt
