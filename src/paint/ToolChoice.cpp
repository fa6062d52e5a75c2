#include "paint/ToolChoice.h"

#include "document/Tools.h"
#include "paint/FloatingBlock.h"

namespace krt {

bool ChooseTool(Editor& editor, Tool tool)
{
    if (tool == Tool::Move) {
        if (editor.Settings.CurrentTool != Tool::Move) {
            editor.Settings.CurrentTool = Tool::Move;
            LiftSelection(editor);
        }
        return false;
    }
    const bool textDropped = DropFloating(editor);
    editor.Settings.CurrentTool = tool;
    return textDropped;
}

} // namespace krt
