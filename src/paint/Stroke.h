#pragma once

#include "document/Editor.h"

#include <cstdint>

namespace krt {

// The colour a brush mode gives for a starting pixel o and brush colour k,
// channel by channel (normal, XOR, AND, multiply; blur takes BlurPixel).
PackedColor CombineColor(BrushMode mode, PackedColor o, PackedColor k);
// The 3 x 3 mean around (x, y) of the pixels inside the image (blur mode).
PackedColor BlurPixel(const TFastBMP& image, int x, int y);

// A stroke starts: no pixel is covered yet.
void ClearPaintMap(Editor& editor);
// Paints one stroke segment of the current tool (pencil, brush or eraser)
// from the current point (x, y) back to the previous one (px, py). Starting
// pixels come from BackupImage and the coverage in PaintMap grows over the
// stroke, so going over a spot again changes nothing.
void PaintSegment(Editor& editor, int x, int y, int px, int py);

} // namespace krt
