#include "paint/Fills.h"
#include "paint/tools/ToolFamilies.h"

namespace krt {

void FillTools::Press(const ToolEvent& e)
{
    Editor& editor = desk.editor;
    switch (e.tool) {
    case Tool::FillSameColor: FillSameColor(editor, e.at.x, e.at.y); break;
    case Tool::FillToBackground: FillToBackground(editor, e.at.x, e.at.y); break;
    case Tool::ReplaceColor:
        ReplaceColorEverywhere(editor, e.at.x, e.at.y);
        desk.windows.RedrawPreview();
        break;
    case Tool::ReplaceOtherColors:
        ReplaceAllButColor(editor, e.at.x, e.at.y);
        desk.windows.RedrawPreview();
        break;
    default: break;
    }
}

// The replacements go on at every point the drag passes (the engine redraws
// after each step); the fills act at the press only.
void FillTools::Move(const ToolEvent& e)
{
    if (e.tool == Tool::ReplaceColor)
        ReplaceColorEverywhere(desk.editor, e.at.x, e.at.y);
    else if (e.tool == Tool::ReplaceOtherColors)
        ReplaceAllButColor(desk.editor, e.at.x, e.at.y);
}

} // namespace krt
