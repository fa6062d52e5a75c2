#include "paint/ToolEngine.h"

#include "document/OutlinePhase.h"
#include "document/Undo.h"
#include "paint/ToolTraits.h"
#include "paint/FloatingBlock.h"
#include "paint/Fills.h"
#include "paint/Gradient.h"
#include "paint/SelectionShapes.h"
#include "paint/Stroke.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace krt {
namespace {

// Restores the tool the palette chose when an event substituted the picker.
// (A tool action may itself choose another tool: the text dialog does.)
class ToolRestorer {
public:
    explicit ToolRestorer(EditorSettings& s) : settings(s), tool(s.CurrentTool) {}
    ~ToolRestorer()
    {
        if (settings.CurrentTool == Tool::Picker)
            settings.CurrentTool = tool;
    }
    ToolRestorer(const ToolRestorer&) = delete;
    ToolRestorer& operator=(const ToolRestorer&) = delete;

private:
    EditorSettings& settings;
    Tool tool;
};

} // namespace

void ToolEngine::OnPress(unsigned modifiers, int x, int y)
{
    ToolRestorer restore(editor.settings);
    Tool& tool = editor.settings.CurrentTool;
    pickedAtPress = false;
    if (Traits(tool).takesModifiers) {
        if (modifiers & ModAlt) {
            tool = Tool::Picker;
            pickedAtPress = true;
        }
        lockAnchor.reset();
        if (modifiers & ModShift)
            ApplyAxisLock(x, y);
    }
    strokeCancel = false;
    freeSelectActive = false;
    current = ViewToImage(editor.view, x, y);
    if (!InImage(current)) {
        // Nothing was started, so the drag that follows has nothing to continue.
        strokeCancel = true;
        return;
    }
    if (Traits(tool).changesImage) {
        SaveBackup(editor);
        PushUndo(editor);
    }
    PressAction(tool, x, y);
    windows.RedrawView();
    previous = ViewToImage(editor.view, x, y);
}

void ToolEngine::PressAction(Tool tool, int x, int y)
{
    const ImagePoint p = current;
    switch (tool) {
    case Tool::Pencil:
    case Tool::Brush:
    case Tool::Eraser:
        ClearPaintMap(editor);
        PaintSegment(editor, p.x, p.y, p.x, p.y);
        break;
    case Tool::Picker: PickColor(true); break;
    case Tool::FillSameColor: FillSameColor(editor, p.x, p.y); break;
    case Tool::FillToBackground: FillToBackground(editor, p.x, p.y); break;
    case Tool::ReplaceColor:
        ReplaceColorEverywhere(editor, p.x, p.y);
        windows.RedrawPreview();
        break;
    case Tool::ReplaceOtherColors:
        ReplaceAllButColor(editor, p.x, p.y);
        windows.RedrawPreview();
        break;
    case Tool::RectangleSelect:
        editor.selection.Deselect();
        dragStartImage = p;
        break;
    case Tool::SameColorSelect:
        SelectSameColor(editor, p.x, p.y);
        windows.RelayoutPreview(true);
        break;
    case Tool::FreeHandSelect:
        BeginFreeHand(editor);
        freeSelectActive = true;
        dragStartWindow = lastWindowPoint = {x, y};
        dragStartImage = p;
        break;
    case Tool::Move: moveDragging = HitSelection(editor, p.x, p.y) && editor.selection.HasSelection(); break;
    case Tool::Text:
        TextPosition = p;
        host.OpenTextDialog();
        break;
    case Tool::Gradient:
        dragStartWindow = {x, y};
        dragStartImage = p;
        break;
    }
}

void ToolEngine::OnMove(unsigned modifiers, int x, int y)
{
    ToolRestorer restore(editor.settings);
    Tool& tool = editor.settings.CurrentTool;
    if (modifiers & ModLeftButton) {
        if (Traits(tool).takesModifiers && (modifiers & ModAlt))
            tool = Tool::Picker;
        if (modifiers & ModShift) {
            ApplyAxisLock(x, y);
        } else {
            lockAnchor = WindowPoint{x, y};
            lockDirection = LockAxis::Undecided;
            lockCursor = host.PointerPosition();
        }
        if (strokeCancel)
            return;
        const int rawX = x, rawY = y;
        const ImagePoint clamped = ClampViewPoint(editor.view, editor.Image.Width, editor.Image.Height, x, y);
        x = clamped.x;
        y = clamped.y;
        current = ViewToImage(editor.view, x, y);
        // After a press that picked a colour only the picker goes on.
        if (!pickedAtPress || tool == Tool::Picker) {
            MoveAction(tool, x, y, rawX, rawY);
            if (Traits(tool).redrawsOnMove) {
                windows.RedrawView();
                windows.RedrawPreview();
            }
        }
    }
    previous = ViewToImage(editor.view, x, y);
}

void ToolEngine::MoveAction(Tool tool, int x, int y, int rawX, int rawY)
{
    const ImagePoint p = current, q = previous;
    switch (tool) {
    case Tool::Pencil:
    case Tool::Brush:
    case Tool::Eraser: {
        const int s = editor.settings.BrushSize;
        PaintSegment(editor, p.x, p.y, q.x, q.y);
        windows.RedrawView();
        windows.UpdatePreview(std::min(p.x, q.x) - s - 2, std::min(p.y, q.y) - s - 2, std::abs(p.x - q.x) + 2 * s + 2,
                           std::abs(p.y - q.y) + 2 * s + 2);
        break;
    }
    case Tool::Picker: PickColor(false); break;
    case Tool::ReplaceColor: ReplaceColorEverywhere(editor, p.x, p.y); break;
    case Tool::ReplaceOtherColors: ReplaceAllButColor(editor, p.x, p.y); break;
    case Tool::RectangleSelect:
        AutoScroll(rawX, rawY);
        ShowRectangleBand(x, y);
        break;
    case Tool::FreeHandSelect:
        if (!freeSelectActive)
            break;
        FreeHandPath(editor, q.x, q.y, p.x, p.y);
        editor.view.ViewBuffer.DrawLine(lastWindowPoint.x, lastWindowPoint.y, x, y, RubberBandColor);
        windows.ShowViewCopy(editor.view.ViewBuffer);
        lastWindowPoint = {x, y};
        break;
    case Tool::Move:
        if (moveDragging) {
            const SelectionBounds r = editor.selection.SelectionRect;
            const int ox = editor.selection.SelectionOffsetX, oy = editor.selection.SelectionOffsetY;
            MoveSelectionBy(editor, q.x, q.y, p.x, p.y);
            const int nx = editor.selection.SelectionOffsetX, ny = editor.selection.SelectionOffsetY;
            windows.RedrawView();
            windows.UpdatePreview(std::min(r.x + ox, r.x + nx) - 10, std::min(r.y + oy, r.y + ny) - 10,
                               std::abs(ox - nx) + r.w + 20, std::abs(oy - ny) + r.h + 20);
        }
        break;
    case Tool::Gradient: ShowGradientBand(x, y); break;
    default: break;
    }
}

void ToolEngine::OnRelease(unsigned modifiers, int x, int y)
{
    ToolRestorer restore(editor.settings);
    Tool& tool = editor.settings.CurrentTool;
    if (modifiers & ModAlt)
        tool = Tool::Picker;
    lockAnchor.reset();
    if (strokeCancel)
        return;
    const ImagePoint clamped = ClampViewPoint(editor.view, editor.Image.Width, editor.Image.Height, x, y);
    current = ViewToImage(editor.view, clamped.x, clamped.y);
    if (!pickedAtPress)
        ReleaseAction(tool);
    editor.view.GradientFeedback = false;
    windows.RedrawPreview();
    windows.ShowViewCopy(editor.view.ViewBuffer);
}

void ToolEngine::ReleaseAction(Tool tool)
{
    const ImagePoint p = current;
    switch (tool) {
    case Tool::RectangleSelect:
        SetRectSelection(editor, dragStartImage.x, dragStartImage.y, p.x, p.y);
        windows.RelayoutPreview(true);
        windows.RedrawView();
        break;
    case Tool::FreeHandSelect:
        if (!freeSelectActive)
            break;
        FreeHandPath(editor, dragStartImage.x, dragStartImage.y, p.x, p.y);
        FreeHandClose(editor);
        freeSelectActive = false;
        windows.RelayoutPreview(true);
        windows.RedrawView();
        break;
    case Tool::Move:
        if (moveDragging) {
            MoveSelectionBy(editor, previous.x, previous.y, p.x, p.y);
            moveDragging = false;
            windows.RedrawView();
        }
        break;
    case Tool::Gradient:
        LinearGradient(editor, dragStartImage.x, dragStartImage.y, p.x, p.y);
        editor.view.GradientFeedback = false;
        windows.RelayoutPreview(true);
        windows.RedrawView();
        break;
    default: break;
    }
}

void ToolEngine::ApplyAxisLock(int& x, int& y)
{
    if (!lockAnchor) {
        lockAnchor = WindowPoint{x, y};
        lockCursor = host.PointerPosition();
        lockDirection = LockAxis::Undecided;
    } else if (lockDirection == LockAxis::Undecided) {
        lockDirection = std::abs(x - lockAnchor->x) > std::abs(y - lockAnchor->y) ? LockAxis::Horizontal
                                                                                  : LockAxis::Vertical;
    }
    const ScreenPoint pointer = host.PointerPosition();
    if (lockDirection == LockAxis::Vertical) {
        x = lockAnchor->x;
        if (pointer.x != lockCursor.x)
            host.MovePointer({lockCursor.x, pointer.y});
    } else {
        y = lockAnchor->y;
        if (pointer.y != lockCursor.y)
            host.MovePointer({pointer.x, lockCursor.y});
    }
}

void ToolEngine::PickColor(bool caption)
{
    const PackedColor color = editor.Image.Pixel(current.x, current.y);
    SetActiveColor(editor.settings, color);
    if (caption)
        host.SetViewCaption(std::to_string(RedOf(color)) + " " + std::to_string(GreenOf(color)) + " " +
                            std::to_string(BlueOf(color)));
    palette.RefreshColorPanels();
}

void ToolEngine::AutoScroll(int rawX, int rawY)
{
    ViewState& v = editor.view;
    const int oldX = v.ScrollX, oldY = v.ScrollY;
    if (rawX < 0)
        --v.ScrollX;
    else if (rawX > v.ViewWidth)
        ++v.ScrollX;
    if (rawY < 0)
        --v.ScrollY;
    else if (rawY > v.ViewHeight)
        ++v.ScrollY;
    v.ScrollX = std::clamp(v.ScrollX, 0, editor.Image.Width - 1);
    v.ScrollY = std::clamp(v.ScrollY, 0, editor.Image.Height - 1);
    if (v.ScrollX != oldX || v.ScrollY != oldY)
        windows.RedrawView();
}

void ToolEngine::ShowRectangleBand(int x, int y)
{
    ViewState& v = editor.view;
    v.RubberViewBuffer.CopyFrom(v.ViewBuffer);
    const double ax = (dragStartImage.x - v.ScrollX) * static_cast<double>(v.Zoom);
    const double ay = (dragStartImage.y - v.ScrollY) * static_cast<double>(v.Zoom);
    FrameRect(v.RubberViewBuffer, static_cast<int>(std::trunc(std::min<double>(x, ax))),
              static_cast<int>(std::trunc(std::min<double>(y, ay))), static_cast<int>(std::trunc(std::max<double>(x, ax))),
              static_cast<int>(std::trunc(std::max<double>(y, ay))), RubberBandColor);
    windows.ShowViewCopy(v.RubberViewBuffer);

    v.RubberPreviewBuffer.CopyFrom(v.PreviewBuffer);
    const double scale = v.PreviewScale;
    auto previewAt = [&](double windowPoint, int scroll, int limit) {
        const double at = std::trunc((windowPoint / static_cast<double>(v.Zoom) + scroll) * scale);
        return static_cast<int>(std::clamp(at, 0.0, static_cast<double>(std::max(limit - 1, 0))));
    };
    FrameRect(v.RubberPreviewBuffer, static_cast<int>(std::trunc(dragStartImage.x * scale)),
              static_cast<int>(std::trunc(dragStartImage.y * scale)), previewAt(x, v.ScrollX, v.PreviewWidth),
              previewAt(y, v.ScrollY, v.PreviewHeight), RubberBandColor);
    windows.ShowPreviewCopy(v.RubberPreviewBuffer);
}

void ToolEngine::ShowGradientBand(int x, int y)
{
    ViewState& v = editor.view;
    v.RubberViewBuffer.CopyFrom(v.ViewBuffer);
    v.RubberViewBuffer.DrawLine(dragStartWindow.x, dragStartWindow.y, x, y, RubberBandColor);
    windows.ShowViewCopy(v.RubberViewBuffer);

    v.RubberPreviewBuffer.CopyFrom(v.PreviewBuffer);
    const double scale = v.PreviewScale, zoom = v.Zoom;
    v.RubberPreviewBuffer.DrawLine(static_cast<int>(std::trunc((v.ScrollX + dragStartWindow.x / zoom) * scale)),
                                   static_cast<int>(std::trunc((v.ScrollY + dragStartWindow.y / zoom) * scale)),
                                   static_cast<int>(std::trunc(current.x * scale)),
                                   static_cast<int>(std::trunc(current.y * scale)), RubberBandColor);
    windows.ShowPreviewCopy(v.RubberPreviewBuffer);
    v.GradientFeedback = true;
    windows.OutlineStep();
}

} // namespace krt
