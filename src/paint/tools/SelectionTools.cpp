#include "document/OutlinePhase.h"
#include "paint/Gradient.h"
#include "paint/SelectionShapes.h"
#include "paint/tools/ToolFamilies.h"

#include <algorithm>
#include <cmath>

namespace krt {

void SelectionTools::Press(const ToolEvent& e)
{
    freeHandActive = false;
    switch (e.tool) {
    case Tool::RectangleSelect:
        desk.editor.Selection.Deselect();
        dragStart = e.at;
        break;
    case Tool::SameColorSelect:
        SelectSameColor(desk.editor, e.at.x, e.at.y);
        desk.windows.RelayoutPreview(true);
        break;
    case Tool::FreeHandSelect:
        BeginFreeHand(desk.editor);
        freeHandActive = true;
        lastWindowPoint = {e.x, e.y};
        dragStart = e.at;
        break;
    default: break;
    }
}

void SelectionTools::Move(const ToolEvent& e)
{
    if (e.tool == Tool::RectangleSelect) {
        AutoScroll(e.rawX, e.rawY);
        ShowRectangleBand(e.x, e.y);
    } else if (e.tool == Tool::FreeHandSelect && freeHandActive) {
        // The outline grows in the selection mask and shows as a line drawn
        // straight into the view's buffer (the next redraw takes it away).
        FreeHandPath(desk.editor, e.previous.x, e.previous.y, e.at.x, e.at.y);
        desk.editor.View.ViewBuffer.DrawLine(lastWindowPoint.x, lastWindowPoint.y, e.x, e.y, RubberBandColor);
        desk.windows.ShowViewCopy(desk.editor.View.ViewBuffer);
        lastWindowPoint = {e.x, e.y};
    }
}

void SelectionTools::Release(const ToolEvent& e)
{
    if (e.tool == Tool::RectangleSelect) {
        SetRectSelection(desk.editor, dragStart.x, dragStart.y, e.at.x, e.at.y);
    } else if (e.tool == Tool::FreeHandSelect && freeHandActive) {
        // The outline is closed back to where it began and its inside selected.
        FreeHandPath(desk.editor, dragStart.x, dragStart.y, e.at.x, e.at.y);
        FreeHandClose(desk.editor);
        freeHandActive = false;
    } else {
        return;
    }
    desk.windows.RelayoutPreview(true);
    desk.windows.RedrawView();
}

// A rectangle dragged beyond the view scrolls it one picture pixel per event,
// never past the picture's last row or column.
void SelectionTools::AutoScroll(int rawX, int rawY)
{
    ViewState& v = desk.editor.View;
    const int oldX = v.ScrollX, oldY = v.ScrollY;
    if (rawX < 0)
        --v.ScrollX;
    else if (rawX > v.ViewWidth)
        ++v.ScrollX;
    if (rawY < 0)
        --v.ScrollY;
    else if (rawY > v.ViewHeight)
        ++v.ScrollY;
    v.ScrollX = std::clamp(v.ScrollX, 0, desk.editor.Image.Width - 1);
    v.ScrollY = std::clamp(v.ScrollY, 0, desk.editor.Image.Height - 1);
    if (v.ScrollX != oldX || v.ScrollY != oldY)
        desk.windows.RedrawView();
}

// The rubber band from the press to the pointer, on copies of the view and
// the preview so the pictures underneath stay as they were.
void SelectionTools::ShowRectangleBand(int x, int y)
{
    ViewState& v = desk.editor.View;
    v.RubberViewBuffer.CopyFrom(v.ViewBuffer);
    const double ax = (dragStart.x - v.ScrollX) * static_cast<double>(v.Zoom);
    const double ay = (dragStart.y - v.ScrollY) * static_cast<double>(v.Zoom);
    FrameRect(v.RubberViewBuffer, static_cast<int>(std::trunc(std::min<double>(x, ax))),
              static_cast<int>(std::trunc(std::min<double>(y, ay))),
              static_cast<int>(std::trunc(std::max<double>(x, ax))),
              static_cast<int>(std::trunc(std::max<double>(y, ay))), RubberBandColor);
    desk.windows.ShowViewCopy(v.RubberViewBuffer);

    v.RubberPreviewBuffer.CopyFrom(v.PreviewBuffer);
    const double scale = v.PreviewScale;
    auto previewAt = [&](double windowPoint, int scroll, int limit) {
        const double at = std::trunc((windowPoint / static_cast<double>(v.Zoom) + scroll) * scale);
        return static_cast<int>(std::clamp(at, 0.0, static_cast<double>(std::max(limit - 1, 0))));
    };
    FrameRect(v.RubberPreviewBuffer, static_cast<int>(std::trunc(dragStart.x * scale)),
              static_cast<int>(std::trunc(dragStart.y * scale)), previewAt(x, v.ScrollX, v.PreviewWidth),
              previewAt(y, v.ScrollY, v.PreviewHeight), RubberBandColor);
    desk.windows.ShowPreviewCopy(v.RubberPreviewBuffer);
}

} // namespace krt
