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
// What a newly floated block is: a picture, or placed text (its transparency
// applies), with smoothed edges or not.
enum class BlockKind { Picture, Text, SmoothedText };

// Floats a new block (a pasted picture, placed text) with its top-left corner
// at (x, y): the block becomes FloatingPixels and the selection its own
// rectangle at (0, 0) moved by (x, y); `weights`, one per block cell row by
// row, becomes the mask (0 empty, 1 selected, or smoothing weights up to 10).
// BackupImage takes the picture under the block, which is then drawn.
void FloatBlock(Editor& editor, TFastBMP&& block, const std::vector<std::uint8_t>& weights, int x, int y,
                BlockKind kind);
// FloatingPixels gets the image inside the selection rectangle: selected
// pixels, KeyColor for the others.
void CopySelectionToFloating(Editor& editor);

} // namespace krt
