#include "paint/FloatingBlock.h"
#include "paint/tools/ToolFamilies.h"

#include <algorithm>
#include <cstdlib>

namespace krt {

void MoveTool::Press(const ToolEvent& e)
{
    dragging = HitSelection(desk.editor, e.at.x, e.at.y) && desk.editor.Selection.HasSelection();
}

void MoveTool::Move(const ToolEvent& e)
{
    if (!dragging)
        return;
    const Selection& s = desk.editor.Selection;
    const SelectionBounds r = s.SelectionRect;
    const int ox = s.SelectionOffsetX, oy = s.SelectionOffsetY;
    MoveSelectionBy(desk.editor, e.previous.x, e.previous.y, e.at.x, e.at.y);
    const int nx = s.SelectionOffsetX, ny = s.SelectionOffsetY;
    desk.windows.RedrawView();
    // The preview changes where the block was and where it is now.
    desk.windows.UpdatePreview(std::min(r.x + ox, r.x + nx) - 10, std::min(r.y + oy, r.y + ny) - 10,
                               std::abs(ox - nx) + r.w + 20, std::abs(oy - ny) + r.h + 20);
}

void MoveTool::Release(const ToolEvent& e)
{
    if (!dragging)
        return;
    MoveSelectionBy(desk.editor, e.previous.x, e.previous.y, e.at.x, e.at.y);
    dragging = false;
    desk.windows.RedrawView();
}

} // namespace krt
