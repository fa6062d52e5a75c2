#include "paint/ToolEngine.h"

#include "document/Undo.h"
#include "paint/ToolTraits.h"

#include <cstdlib>
#include <utility>

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

ToolEngine::ToolEngine(Editor& e, ViewHost& w, ToolPalette& p, ToolHost& h) : editor(e), desk{e, w, p, h}
{
    // Which family each tool belongs to.
    const std::pair<Tool, ToolFamily*> table[] = {
        {Tool::Pencil, &strokes},
        {Tool::Brush, &strokes},
        {Tool::Eraser, &strokes},
        {Tool::Picker, &picker},
        {Tool::FillSameColor, &fills},
        {Tool::FillToBackground, &fills},
        {Tool::ReplaceColor, &fills},
        {Tool::ReplaceOtherColors, &fills},
        {Tool::RectangleSelect, &selections},
        {Tool::SameColorSelect, &selections},
        {Tool::FreeHandSelect, &selections},
        {Tool::Move, &move},
        {Tool::Text, &text},
        {Tool::Gradient, &gradient},
    };
    for (const auto& [tool, family] : table)
        families[static_cast<std::size_t>(ToolNumber(tool) - 1)] = family;
}

void ToolEngine::OnPress(unsigned modifiers, int x, int y)
{
    ToolRestorer restore(editor.Settings);
    Tool& tool = editor.Settings.CurrentTool;
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
    current = ViewToImage(editor.View, x, y);
    if (!InImage(current)) {
        // Nothing was started, so the drag that follows has nothing to continue.
        strokeCancel = true;
        return;
    }
    // A tool that changes the picture makes one undo step of the whole drag.
    if (Traits(tool).changesImage) {
        SaveBackup(editor);
        PushUndo(editor);
    }
    FamilyOf(tool).Press({tool, current, current, x, y, x, y});
    desk.windows.RedrawView();
    previous = ViewToImage(editor.View, x, y);
}

void ToolEngine::OnMove(unsigned modifiers, int x, int y)
{
    ToolRestorer restore(editor.Settings);
    Tool& tool = editor.Settings.CurrentTool;
    if (modifiers & ModLeftButton) {
        if (Traits(tool).takesModifiers && (modifiers & ModAlt))
            tool = Tool::Picker;
        if (modifiers & ModShift) {
            ApplyAxisLock(x, y);
        } else {
            lockAnchor = WindowPoint{x, y};
            lockDirection = LockAxis::Undecided;
            lockCursor = desk.host.PointerPosition();
        }
        if (strokeCancel)
            return;
        const int rawX = x, rawY = y;
        const ImagePoint clamped = ClampViewPoint(editor.View, editor.Image.Width, editor.Image.Height, x, y);
        x = clamped.x;
        y = clamped.y;
        current = ViewToImage(editor.View, x, y);
        // After a press that picked a colour only the picker goes on.
        if (!pickedAtPress || tool == Tool::Picker) {
            FamilyOf(tool).Move({tool, current, previous, x, y, rawX, rawY});
            if (Traits(tool).redrawsOnMove) {
                desk.windows.RedrawView();
                desk.windows.RedrawPreview();
            }
        }
    }
    previous = ViewToImage(editor.View, x, y);
}

void ToolEngine::OnRelease(unsigned modifiers, int x, int y)
{
    ToolRestorer restore(editor.Settings);
    Tool& tool = editor.Settings.CurrentTool;
    if (modifiers & ModAlt)
        tool = Tool::Picker;
    lockAnchor.reset();
    if (strokeCancel)
        return;
    const ImagePoint clamped = ClampViewPoint(editor.View, editor.Image.Width, editor.Image.Height, x, y);
    current = ViewToImage(editor.View, clamped.x, clamped.y);
    if (!pickedAtPress)
        FamilyOf(tool).Release({tool, current, previous, clamped.x, clamped.y, x, y});
    editor.View.GradientFeedback = false;
    desk.windows.RedrawPreview();
    desk.windows.ShowViewCopy(editor.View.ViewBuffer);
}

// Shift locks a drag to the axis it first moves along: the other coordinate
// stays at the anchor's, and the pointer is held on that row or column.
void ToolEngine::ApplyAxisLock(int& x, int& y)
{
    if (!lockAnchor) {
        lockAnchor = WindowPoint{x, y};
        lockCursor = desk.host.PointerPosition();
        lockDirection = LockAxis::Undecided;
    } else if (lockDirection == LockAxis::Undecided) {
        lockDirection =
            std::abs(x - lockAnchor->x) > std::abs(y - lockAnchor->y) ? LockAxis::Horizontal : LockAxis::Vertical;
    }
    const ScreenPoint pointer = desk.host.PointerPosition();
    if (lockDirection == LockAxis::Vertical) {
        x = lockAnchor->x;
        if (pointer.x != lockCursor.x)
            desk.host.MovePointer({lockCursor.x, pointer.y});
    } else {
        y = lockAnchor->y;
        if (pointer.y != lockCursor.y)
            desk.host.MovePointer({pointer.x, lockCursor.y});
    }
}

} // namespace krt
