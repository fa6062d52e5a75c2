#pragma once

#include "paint/tools/ToolFamily.h"

namespace krt {

// Pencil, brush and eraser: a stroke of brush footprints along the drag, one
// undo step; each step redraws the view and the preview's touched rectangle.
class StrokeTools : public ToolFamily {
public:
    using ToolFamily::ToolFamily;
    void Press(const ToolEvent& event) override;
    void Move(const ToolEvent& event) override;
};

// The two fills (at the press) and the two colour replacements (at the press
// and at every point the drag passes).
class FillTools : public ToolFamily {
public:
    using ToolFamily::ToolFamily;
    void Press(const ToolEvent& event) override;
    void Move(const ToolEvent& event) override;
};

// The three selections: a rectangle dragged out (its rubber band in the view
// and the preview, scrolling the view when the pointer leaves it), the region
// of one colour at the press, and a free-hand outline closed at the release.
class SelectionTools : public ToolFamily {
public:
    using ToolFamily::ToolFamily;
    void Press(const ToolEvent& event) override;
    void Move(const ToolEvent& event) override;
    void Release(const ToolEvent& event) override;

private:
    void AutoScroll(int rawX, int rawY);
    void ShowRectangleBand(int x, int y);

    ImagePoint dragStart{0, 0};        // where the rectangle or outline began
    WindowPoint lastWindowPoint{0, 0}; // the outline's last point in the view
    bool freeHandActive = false;       // an outline is being drawn
};

// The move tool: a drag that starts on the selection moves the floating block.
class MoveTool : public ToolFamily {
public:
    using ToolFamily::ToolFamily;
    void Press(const ToolEvent& event) override;
    void Move(const ToolEvent& event) override;
    void Release(const ToolEvent& event) override;

private:
    bool dragging = false;
};

// The colour picker (also what Alt makes of a painting tool): the active
// colour becomes the pixel's; the press shows its numbers in the caption.
class PickerTool : public ToolFamily {
public:
    using ToolFamily::ToolFamily;
    void Press(const ToolEvent& event) override;
    void Move(const ToolEvent& event) override;

private:
    void Pick(ImagePoint at, bool caption);
};

// The text tool: a press notes its point in `position` (where the text
// dialog places its block) and asks the dialog.
class TextTool : public ToolFamily {
public:
    TextTool(ToolDesk& d, ImagePoint& at) : ToolFamily(d), position(at) {}
    void Press(const ToolEvent& event) override;

private:
    ImagePoint& position;
};

// The gradient: a line dragged out (shown as a rubber band with the
// selection outline over it), filled from the press to the release.
class GradientTool : public ToolFamily {
public:
    using ToolFamily::ToolFamily;
    void Press(const ToolEvent& event) override;
    void Move(const ToolEvent& event) override;
    void Release(const ToolEvent& event) override;

private:
    ImagePoint dragStart{0, 0};
    WindowPoint dragStartWindow{0, 0};
};

} // namespace krt
