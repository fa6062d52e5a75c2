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
    return {editor.UndoCount != 0, clipboard.HasImage(), editor.Selection.HasSelection()};
}

void EditCommands::Undo()
{
    if (editor.Settings.CurrentTool == Tool::Move)
        palette.SelectTool(Tool::Pencil);
    if (!UndoLast(editor))
        return;
    windows.RedrawPreview();
    windows.RedrawView();
}

void EditCommands::Copy()
{
    if (!editor.Selection.HasSelection()) {
        clipboard.WriteImage(editor.Image);
        return;
    }
    if (editor.Settings.CurrentTool != Tool::Move)
        CopySelectionToFloating(editor);
    clipboard.WriteImage(editor.Selection.FloatingPixels);
}

void EditCommands::Clear()
{
    if (!editor.Selection.HasSelection())
        return;
    if (editor.Settings.CurrentTool != Tool::Move)
        palette.SelectTool(Tool::Move);
    TFastBMP& block = editor.Selection.FloatingPixels;
    const int rows = std::min(editor.Selection.SelectionRect.h, block.Height);
    const int columns = std::min(editor.Selection.SelectionRect.w, block.Width);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            if (block.Pixel(x, y) != KeyColor)
                block.SetPixel(x, y, editor.Settings.BackColor);
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
        if (!prompts.AskYesNo(editor.Messages.MsgClipboardLarger))
            return;
        // The picture grows to hold the pasted one; what it gains is black.
        TFastBMP larger(std::max(pasted.Width, editor.Image.Width), std::max(pasted.Height, editor.Image.Height));
        larger.Fill(Black);
        editor.Image.CopyBlockInto(larger, 0, 0, editor.Image.Width, editor.Image.Height, 0, 0);
        files.ReplaceDocument(std::move(larger));
        ++editor.Document.ModifiedCount;
    }
    // Cells of the key colour stay empty: they are not selected.
    std::vector<std::uint8_t> weights(static_cast<std::size_t>(pasted.Width) * pasted.Height);
    for (int y = 0; y < pasted.Height; ++y)
        for (int x = 0; x < pasted.Width; ++x)
            weights[static_cast<std::size_t>(y) * pasted.Width + x] = pasted.Pixel(x, y) != KeyColor;
    FloatBlock(editor, std::move(pasted), weights, editor.View.ScrollX, editor.View.ScrollY, BlockKind::Picture);
    ++editor.Document.ModifiedCount; // the backup under the block counts as a change
    windows.RelayoutPreview(true);
    windows.RedrawView();
    editor.Settings.CurrentTool = Tool::Move;
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
    editor.Document.Exif.clear(); // the camera's data belonged to the old picture
    editor.Document.ModifiedCount = 1;
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
    if (!editor.Selection.HasSelection() || !files.AskToSaveChanges())
        return;
    files.LeaveMoveTool();
    if (!editor.Selection.HasSelection())
        return;
    CopySelectionToFloating(editor);
    TFastBMP cropped;
    cropped.CopyFrom(editor.Selection.FloatingPixels);
    files.ReplaceDocument(std::move(cropped));
    editor.Document.ModifiedCount = 1;
    editor.Selection.FloatingPixels.Allocate(1, 1);
}

void EditCommands::Resize()
{
    editor.Selection.Deselect();
    const auto request = prompts.AskResize(editor.Image.Width, editor.Image.Height);
    if (!request || !files.AskToSaveChanges())
        return;
    palette.SelectTool(Tool::Pencil);
    files.ReplaceDocument(ResizedImage(editor.Image, *request));
    editor.Document.ModifiedCount = 1;
}

} // namespace krt
