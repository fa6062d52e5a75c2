#pragma once

#include "document/Editor.h"
#include "paint/ToolHost.h"
#include "paint/ToolPalette.h"
#include "paint/View.h"
#include "paint/ViewHost.h"
#include "paint/tools/ToolFamilies.h"

#include <array>
#include <optional>

namespace krt {

// Mouse event modifiers the tools look at.
enum MouseModifiers : unsigned {
    ModShift = 1,
    ModAlt = 2,
    ModLeftButton = 4, // the left button is held (move events)
};

// The mouse handling of the document view: presses, moves and releases in
// window points become tool actions on the image. Alt turns the painting
// tools into the colour picker for one event; Shift locks a drag to a row or
// a column. What a tool does is its family's (paint/tools/); the engine keeps
// what all tools share: the points, the undo step, the axis lock, the redraws.
class ToolEngine {
public:
    ToolEngine(Editor& e, ViewHost& w, ToolPalette& p, ToolHost& h);

    void OnPress(unsigned modifiers, int x, int y);
    void OnMove(unsigned modifiers, int x, int y);
    void OnRelease(unsigned modifiers, int x, int y);

    // Moves and releases do nothing until the next press (after a file was
    // opened by a double click above the view).
    void CancelStroke() { strokeCancel = true; }

    // Where the text tool was pressed, in image points.
    ImagePoint TextPosition{0, 0};

private:
    enum class LockAxis { Undecided, Vertical, Horizontal };

    ToolFamily& FamilyOf(Tool tool) { return *families[static_cast<std::size_t>(ToolNumber(tool) - 1)]; }
    void ApplyAxisLock(int& x, int& y);
    bool InImage(ImagePoint p) const
    {
        return p.x >= 0 && p.y >= 0 && p.x < editor.Image.Width && p.y < editor.Image.Height;
    }

    Editor& editor;
    ToolDesk desk;
    StrokeTools strokes{desk};
    FillTools fills{desk};
    SelectionTools selections{desk};
    MoveTool move{desk};
    PickerTool picker{desk};
    TextTool text{desk, TextPosition};
    GradientTool gradient{desk};
    std::array<ToolFamily*, ToolCount> families{};

    ImagePoint current{0, 0};
    ImagePoint previous{0, 0};
    bool strokeCancel = true;   // nothing to continue before the first press
    bool pickedAtPress = false; // the press picked a colour instead of starting the tool
    std::optional<WindowPoint> lockAnchor;
    ScreenPoint lockCursor{0, 0};
    LockAxis lockDirection = LockAxis::Undecided;
};

} // namespace krt
