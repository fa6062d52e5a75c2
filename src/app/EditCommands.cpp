#include "app/EditCommands.h"

#include "document/Undo.h"
#include "paint/ColorPanels.h"
#include "paint/FloatingBlock.h"
#include "paint/Selection.h"

#include <algorithm>
#include <cstring>

namespace krt {

TFastBMP ResizedImage(const TFastBMP& image, const ResizeRequest& request)
{
    CheckImageSize(request.width, request.height);
    TFastBMP resized(request.width, request.height);
    if (request.changePicture) {
        if (request.smoothing)
            image.SmoothScaleInto(resized);
        else
            image.ScaleInto(resized);
    } else {
        resized.Fill(Black);
        const int rows = std::min(resized.Height, image.Height), columns = std::min(resized.Width, image.Width);
        for (int y = 0; y < rows; ++y)
            std::memcpy(resized.RowTable[static_cast<std::size_t>(y)], image.RowTable[static_cast<std::size_t>(y)],
                        static_cast<std::size_t>(3) * columns);
    }
    return resized;
}

EditMenuState EditCommands::MenuState() const
{
    return {editor.UndoCount != 0, clipboard.HasImage(), editor.HasSelection};
}

void EditCommands::Undo()
{
    if (editor.settings.CurrentTool == Tool::Move)
        host.SelectTool(Tool::Pencil);
    if (!UndoLast(editor))
        return;
    host.RedrawPreview();
    host.RedrawView();
}

void EditCommands::Copy()
{
    if (!editor.HasSelection) {
        clipboard.WriteImage(editor.Image);
        return;
    }
    if (editor.settings.CurrentTool != Tool::Move)
        CopySelectionToFloating(editor);
    clipboard.WriteImage(editor.FloatingPixels);
}

void EditCommands::Clear()
{
    if (!editor.HasSelection)
        return;
    if (editor.settings.CurrentTool != Tool::Move)
        host.SelectTool(Tool::Move);
    TFastBMP& block = editor.FloatingPixels;
    const int rows = std::min(editor.SelectionRect.h, block.Height);
    const int columns = std::min(editor.SelectionRect.w, block.Width);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            if (block.Pixel(x, y) != KeyColor)
                block.SetPixel(x, y, editor.settings.BackColor);
    MoveSelectionBy(editor, 0, 0, 0, 0);
    host.RedrawView();
    host.RedrawPreview();
}

void EditCommands::Cut()
{
    Copy();
    Clear();
}

void EditCommands::Paste()
{
    PushUndo(editor);
    TFastBMP pasted;
    if (!clipboard.ReadImage(pasted) || pasted.Width < 1 || pasted.Height < 1)
        return;
    if (pasted.Width >= editor.Image.Width || pasted.Height >= editor.Image.Height) {
        if (!prompts.AskYesNo(editor.messages.MsgClipboardLarger))
            return;
        // The picture grows to hold the pasted one; what it gains is black.
        TFastBMP larger(std::max(pasted.Width, editor.Image.Width), std::max(pasted.Height, editor.Image.Height));
        larger.Fill(Black);
        editor.Image.CopyBlockInto(larger, 0, 0, editor.Image.Width, editor.Image.Height, 0, 0);
        files.ReplaceDocument(std::move(larger));
        ++editor.document.ModifiedCount;
    }
    const int w = editor.Image.Width;
    std::fill(editor.buffers.SelectionMask.begin(), editor.buffers.SelectionMask.end(), 0);
    for (int y = 0; y < std::min(pasted.Height, editor.Image.Height); ++y)
        for (int x = 0; x < std::min(pasted.Width, w); ++x)
            editor.buffers.SelectionMask[static_cast<std::size_t>(y) * w + x] = pasted.Pixel(x, y) != KeyColor;
    editor.HasSelection = true;
    editor.FloatingText = false;
    editor.SoftMask = false;
    editor.FloatingPixels = std::move(pasted);
    SetFloatingFromBuffer(editor);
    SaveBackup(editor);
    editor.SelectionOffsetX = editor.view.ScrollX;
    editor.SelectionOffsetY = editor.view.ScrollY;
    RenderFloating(editor);
    host.RelayoutPreview(true);
    host.RedrawView();
    editor.settings.CurrentTool = Tool::Move;
    host.ShowMoveTool();
}

void EditCommands::PasteAsNewImage()
{
    files.LeaveMoveTool();
    if (!files.AskToSaveChanges())
        return;
    TFastBMP pasted;
    if (!clipboard.ReadImage(pasted) || pasted.Empty())
        return;
    files.ReplaceDocument(std::move(pasted));
    editor.document.ModifiedCount = 1;
}

void EditCommands::ShowSelection()
{
    host.RelayoutPreview(true);
    host.RedrawView();
    host.RedrawPreview();
}

void EditCommands::SelectAll()
{
    files.LeaveMoveTool();
    krt::SelectAll(editor);
    ShowSelection();
}

void EditCommands::InvertSelection()
{
    files.LeaveMoveTool();
    krt::InvertSelection(editor);
    ShowSelection();
}

void EditCommands::Crop()
{
    if (!editor.HasSelection || !files.AskToSaveChanges())
        return;
    files.LeaveMoveTool();
    if (!editor.HasSelection)
        return;
    CopySelectionToFloating(editor);
    TFastBMP cropped;
    cropped.CopyFrom(editor.FloatingPixels);
    files.ReplaceDocument(std::move(cropped));
    editor.document.ModifiedCount = 1;
    editor.FloatingPixels.Allocate(1, 1);
}

void EditCommands::Resize()
{
    editor.HasSelection = false;
    const auto request = prompts.AskResize(editor.Image.Width, editor.Image.Height);
    if (!request || !files.AskToSaveChanges())
        return;
    host.SelectTool(Tool::Pencil);
    files.ReplaceDocument(ResizedImage(editor.Image, *request));
    editor.document.ModifiedCount = 1;
}

} // namespace krt
