#include "document/Undo.h"

#include "document/Tools.h"

#include <algorithm>
#include <cstring>

namespace krt {
namespace {

// Copies pixels between two buffers of the image's size in one block.
void CopyPixels(TFastBMP& to, const TFastBMP& from)
{
    if (to.Width == from.Width && to.Height == from.Height && to.DataSize == from.DataSize)
        std::memcpy(to.PixelData, from.PixelData, static_cast<std::size_t>(from.DataSize));
    else
        to.CopyFrom(from);
}

} // namespace

void PushUndo(Editor& editor)
{
    if (editor.Settings.CurrentTool == Tool::Move)
        return;
    auto& ring = editor.UndoRing;
    if (editor.UndoCount == UndoDepth) {
        std::rotate(ring.begin(), ring.begin() + 1, ring.end());
        editor.UndoCount = UndoDepth - 1;
    }
    CopyPixels(ring[static_cast<std::size_t>(editor.UndoCount)], editor.Image);
    ++editor.UndoCount;
}

bool UndoLast(Editor& editor)
{
    if (editor.UndoCount == 0)
        return false;
    --editor.UndoCount;
    CopyPixels(editor.Image, editor.UndoRing[static_cast<std::size_t>(editor.UndoCount)]);
    if (editor.Document.ModifiedCount > 0)
        --editor.Document.ModifiedCount;
    return true;
}

void SaveBackup(Editor& editor)
{
    CopyPixels(editor.BackupImage, editor.Image);
    ++editor.Document.ModifiedCount;
}

void RestoreBackup(Editor& editor)
{
    CopyPixels(editor.Image, editor.BackupImage);
    --editor.Document.ModifiedCount;
}

} // namespace krt
