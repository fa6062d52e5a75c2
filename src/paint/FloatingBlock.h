#pragma once

#include "document/Editor.h"

namespace krt {

// True when the image point lies on the selection rectangle where the block
// now floats (both ends included); never on the first row or column.
bool HitSelection(const Editor& editor, int x, int y);

// The move tool takes the selection: FloatingPixels gets the selected pixels
// (KeyColor elsewhere), and BackupImage the image with the hole the block
// leaves, in the background colour. Nothing without a selection.
void LiftSelection(Editor& editor);
// Moves the block by (toX - fromX, toY - fromY): the image is restored from
// BackupImage and the block drawn at its new place.
void MoveSelectionBy(Editor& editor, int fromX, int fromY, int toX, int toY);
// Draws the block over the image at SelectionRect moved by the offset.
void RenderFloating(Editor& editor);
// Ends floating: the mask follows the block. Returns true when a placed text
// was dropped (the selection is then gone and the windows must show it).
bool DropFloating(Editor& editor);
// FloatingPixels was filled by a caller (paste, text): the selection
// rectangle becomes its size at (0, 0).
void SetFloatingFromBuffer(Editor& editor);
// FloatingPixels gets the image inside the selection rectangle: selected
// pixels, KeyColor for the others.
void CopySelectionToFloating(Editor& editor);

} // namespace krt
