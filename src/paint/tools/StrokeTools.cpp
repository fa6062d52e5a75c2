#include "paint/Stroke.h"
#include "paint/tools/ToolFamilies.h"

#include <algorithm>
#include <cstdlib>

namespace krt {

void StrokeTools::Press(const ToolEvent& e)
{
    // A stroke paints each pixel at most as often as its brush covers it:
    // the coverage map starts empty.
    ClearPaintMap(desk.editor);
    PaintSegment(desk.editor, e.at.x, e.at.y, e.at.x, e.at.y);
}

void StrokeTools::Move(const ToolEvent& e)
{
    const ImagePoint p = e.at, q = e.previous;
    const int s = desk.editor.Settings.BrushSize;
    PaintSegment(desk.editor, p.x, p.y, q.x, q.y);
    desk.windows.RedrawView();
    // Only the rectangle the segment's brush can reach changes in the preview.
    desk.windows.UpdatePreview(std::min(p.x, q.x) - s - 2, std::min(p.y, q.y) - s - 2, std::abs(p.x - q.x) + 2 * s + 2,
                               std::abs(p.y - q.y) + 2 * s + 2);
}

} // namespace krt
