#pragma once

#include "document/Editor.h"
#include "paint/ToolHost.h"
#include "paint/ToolPalette.h"
#include "paint/ViewHost.h"
#include "paint/View.h"

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
// a column.
class ToolEngine {
public:
    ToolEngine(Editor& e, ViewHost& w, ToolPalette& p, ToolHost& h) : editor(e), windows(w), palette(p), host(h) {}

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
    struct WindowPoint {
        int x;
        int y;
    };

    void PressAction(Tool tool, int x, int y);
    void MoveAction(Tool tool, int x, int y, int rawX, int rawY);
    void ReleaseAction(Tool tool);
    void ApplyAxisLock(int& x, int& y);
    void PickColor(bool caption);
    void AutoScroll(int rawX, int rawY);
    void ShowRectangleBand(int x, int y);
    void ShowGradientBand(int x, int y);
    bool InImage(ImagePoint p) const { return p.x >= 0 && p.y >= 0 && p.x < editor.Image.Width && p.y < editor.Image.Height; }

    Editor& editor;
    ViewHost& windows;
    ToolPalette& palette;
    ToolHost& host;
    ImagePoint current{0, 0};
    ImagePoint previous{0, 0};
    WindowPoint dragStartWindow{0, 0};
    ImagePoint dragStartImage{0, 0};
    WindowPoint lastWindowPoint{0, 0};
    bool moveDragging = false;
    bool freeSelectActive = false;
    bool strokeCancel = true; // nothing to continue before the first press
    bool pickedAtPress = false; // the press picked a colour instead of starting the tool
    std::optional<WindowPoint> lockAnchor;
    ScreenPoint lockCursor{0, 0};
    LockAxis lockDirection = LockAxis::Undecided;
};

} // namespace krt
