#include "app/EffectFrame.h"

#include "document/Undo.h"
#include "paint/FloatingBlock.h"

#include <cstring>
#include <utility>

namespace krt {
namespace {

// Cells that were empty in the copy are empty again in the block.
void RestoreEmptyCells(TFastBMP& block, const TFastBMP& copy)
{
    for (int y = 0; y < block.Height; ++y) {
        std::uint8_t* b = block.RowTable[static_cast<std::size_t>(y)];
        const std::uint8_t* c = copy.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < block.Width; ++x, b += 3, c += 3)
            if (ReadPixel(c) == KeyColor)
                WritePixel(b, KeyColor);
    }
}

} // namespace

void EffectFrame::ApplyEffect(Effect& effect)
{
    // Snapshot first for an effect without a dialog; one with a dialog
    // confirms when the user presses OK, before it writes the target.
    const bool dialog = effect.HasDialog();
    if (!dialog)
        PushUndo(editor);
    const Confirm confirmed = [this, dialog] {
        if (dialog)
            PushUndo(editor);
    };
    if (editor.Selection.HasSelection()) {
        palette.SelectTool(Tool::Move);
        TFastBMP& block = editor.Selection.FloatingPixels;
        TFastBMP copy;
        copy.CopyFrom(block);
        if (!effect.Run(block, copy, confirmed))
            return;
        RestoreEmptyCells(block, copy);
        MoveSelectionBy(editor, 0, 0, 0, 0);
    } else {
        // The backup counts as a change only when the effect is applied: a
        // cancelled dialog leaves the picture as unchanged as it was.
        const int modified = editor.Document.ModifiedCount;
        SaveBackup(editor);
        if (!effect.Run(editor.Image, editor.BackupImage, confirmed))
            editor.Document.ModifiedCount = modified;
    }
    ShowChanges();
}

void EffectFrame::ShowChanges()
{
    windows.RedrawView();
    windows.RedrawPreview();
}

void EffectFrame::RunWithBackup(
    const std::function<void(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed)>& run)
{
    // While a block floats, BackupImage is the picture under it (with its
    // hole); the try-out borrows the buffer and gives that picture back, so
    // the next drag moves the block as if the editor had never opened.
    TFastBMP underBlock;
    const bool floating = editor.Settings.CurrentTool == Tool::Move && editor.Selection.HasSelection();
    if (floating)
        underBlock.CopyFrom(editor.BackupImage);
    SaveBackup(editor);
    auto putBack = [this, floating, &underBlock] {
        RestoreBackup(editor);
        if (floating)
            std::swap(editor.BackupImage, underBlock);
        ShowChanges();
    };
    try {
        run(editor.Image, editor.BackupImage, [this] { PushUndo(editor); });
    } catch (...) {
        putBack();
        throw;
    }
    putBack();
}

} // namespace krt
