#include "document/OutlinePhase.h"
#include "paint/Gradient.h"
#include "paint/tools/ToolFamilies.h"

#include <cmath>

namespace krt {

void GradientTool::Press(const ToolEvent& e)
{
    dragStartWindow = {e.x, e.y};
    dragStart = e.at;
}

// The line from the press to the pointer as a rubber band on copies of the
// view and the preview; the selection outline is drawn over the copies while
// they show.
void GradientTool::Move(const ToolEvent& e)
{
    ViewState& v = desk.editor.View;
    v.RubberViewBuffer.CopyFrom(v.ViewBuffer);
    v.RubberViewBuffer.DrawLine(dragStartWindow.x, dragStartWindow.y, e.x, e.y, RubberBandColor);
    desk.windows.ShowViewCopy(v.RubberViewBuffer);

    v.RubberPreviewBuffer.CopyFrom(v.PreviewBuffer);
    const double scale = v.PreviewScale, zoom = v.Zoom;
    v.RubberPreviewBuffer.DrawLine(static_cast<int>(std::trunc((v.ScrollX + dragStartWindow.x / zoom) * scale)),
                                   static_cast<int>(std::trunc((v.ScrollY + dragStartWindow.y / zoom) * scale)),
                                   static_cast<int>(std::trunc(e.at.x * scale)),
                                   static_cast<int>(std::trunc(e.at.y * scale)), RubberBandColor);
    desk.windows.ShowPreviewCopy(v.RubberPreviewBuffer);
    v.GradientFeedback = true;
    desk.windows.OutlineStep();
}

void GradientTool::Release(const ToolEvent& e)
{
    LinearGradient(desk.editor, dragStart.x, dragStart.y, e.at.x, e.at.y);
    desk.editor.View.GradientFeedback = false;
    desk.windows.RelayoutPreview(true);
    desk.windows.RedrawView();
}

} // namespace krt
