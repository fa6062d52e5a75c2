#include "paint/ToolChoice.h"

#include "paint/ColorPanels.h"
#include "paint/FloatingBlock.h"

namespace krt {

bool ChooseTool(Editor& editor, int tool)
{
    if (tool == MoveTool) {
        if (editor.settings.CurrentTool != MoveTool) {
            editor.settings.CurrentTool = MoveTool;
            LiftSelection(editor);
        }
        return false;
    }
    const bool textDropped = DropFloating(editor);
    editor.settings.CurrentTool = tool;
    return textDropped;
}

} // namespace krt
