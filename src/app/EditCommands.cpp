#include "app/EditCommands.h"

#include "document/Undo.h"
#include "paint/FloatingBlock.h"
#include "paint/SelectionShapes.h"

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
    return {editor.UndoCount != 0, clipboard.HasImage(), editor.selection.HasSelection()};
}

void EditCommands::Undo()
{
    if (editor.settings.CurrentTool == Tool::Move)
        palette.SelectTool(Tool::Pencil);
    if (!UndoLast(editor))
        return;
    windows.RedrawPreview();
    windows.RedrawView();
}

void EditCommands::Copy()
{
    if (!editor.selection.HasSelection()) {
        clipboard.WriteImage(editor.Image);
        return;
    }
    if (editor.settings.CurrentTool != Tool::Move)
        CopySelectionToFloating(editor);
    clipboard.WriteImage(editor.selection.FloatingPixels);
}

void EditCommands::Clear()
{
    if (!editor.selection.HasSelection())
        return;
    if (editor.settings.CurrentTool != Tool::Move)
        palette.SelectTool(Tool::Move);
    TFastBMP& block = editor.selection.FloatingPixels;
    const int rows = std::min(editor.selection.SelectionRect.h, block.Height);
    const int columns = std::min(editor.selection.SelectionRect.w, block.Width);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            if (block.Pixel(x, y) != KeyColor)
                block.SetPixel(x, y, editor.settings.BackColor);
    MoveSelectionBy(editor, 0, 0, 0, 0);
    windows.RedrawView();
    windows.RedrawPreview();
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
    // Cells of the key colour stay empty: they are not selected.
    std::vector<std::uint8_t> weights(static_cast<std::size_t>(pasted.Width) * pasted.Height);
    for (int y = 0; y < pasted.Height; ++y)
        for (int x = 0; x < pasted.Width; ++x)
            weights[static_cast<std::size_t>(y) * pasted.Width + x] = pasted.Pixel(x, y) != KeyColor;
    FloatBlock(editor, std::move(pasted), weights, editor.view.ScrollX, editor.view.ScrollY, BlockKind::Picture);
    ++editor.document.ModifiedCount; // the backup under the block counts as a change
    windows.RelayoutPreview(true);
    windows.RedrawView();
    editor.settings.CurrentTool = Tool::Move;
    palette.ShowMoveTool();
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
    windows.RelayoutPreview(true);
    windows.RedrawView();
    windows.RedrawPreview();
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
    if (!editor.selection.HasSelection() || !files.AskToSaveChanges())
        return;
    files.LeaveMoveTool();
    if (!editor.selection.HasSelection())
        return;
    CopySelectionToFloating(editor);
    TFastBMP cropped;
    cropped.CopyFrom(editor.selection.FloatingPixels);
    files.ReplaceDocument(std::move(cropped));
    editor.document.ModifiedCount = 1;
    editor.selection.FloatingPixels.Allocate(1, 1);
}

void EditCommands::Resize()
{
    editor.selection.Deselect();
    const auto request = prompts.AskResize(editor.Image.Width, editor.Image.Height);
    if (!request || !files.AskToSaveChanges())
        return;
    palette.SelectTool(Tool::Pencil);
    files.ReplaceDocument(ResizedImage(editor.Image, *request));
    editor.document.ModifiedCount = 1;
}

} // namespace krt
