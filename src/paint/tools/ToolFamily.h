#pragma once

#include "document/Editor.h"
#include "paint/ToolHost.h"
#include "paint/ToolPalette.h"
#include "paint/View.h"
#include "paint/ViewHost.h"

namespace krt {

// What the tools work on and through: the editor's state and the windows.
struct ToolDesk {
    Editor& editor;
    ViewHost& windows;
    ToolPalette& palette;
    ToolHost& host;
};

// A point of the document window, in screen pixels.
struct WindowPoint {
    int x;
    int y;
};

// One mouse event as a tool family gets it: the tool it is for, the image
// point now and at the previous event, and the window point (kept inside
// the picture for moves and releases; `rawX`, `rawY` as the mouse gave it).
struct ToolEvent {
    Tool tool;
    ImagePoint at;
    ImagePoint previous;
    int x = 0;
    int y = 0;
    int rawX = 0;
    int rawY = 0;
};

// The mouse behaviour of a family of tools (the tool engine picks the family
// of the current tool from a table). A family keeps its own drag state from
// a press to the release.
class ToolFamily {
public:
    explicit ToolFamily(ToolDesk& d) : desk(d) {}
    virtual ~ToolFamily() = default;
    ToolFamily(const ToolFamily&) = delete;
    ToolFamily& operator=(const ToolFamily&) = delete;

    virtual void Press(const ToolEvent& event) = 0;
    virtual void Move(const ToolEvent&) {}
    virtual void Release(const ToolEvent&) {}

protected:
    ToolDesk& desk;
};

} // namespace krt
