#include "paint/tools/ToolFamilies.h"

#include <string>

namespace krt {

void PickerTool::Press(const ToolEvent& e) { Pick(e.at, true); }

void PickerTool::Move(const ToolEvent& e) { Pick(e.at, false); }

void PickerTool::Pick(ImagePoint at, bool caption)
{
    const PackedColor color = desk.editor.Image.Pixel(at.x, at.y);
    SetActiveColor(desk.editor.Settings, color);
    if (caption)
        desk.host.SetViewCaption(std::to_string(RedOf(color)) + " " + std::to_string(GreenOf(color)) + " " +
                                 std::to_string(BlueOf(color)));
    desk.palette.RefreshColorPanels();
}

void TextTool::Press(const ToolEvent& e)
{
    position = e.at;
    desk.host.OpenTextDialog();
}

} // namespace krt
