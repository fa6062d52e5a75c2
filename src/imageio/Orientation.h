#pragma once

#include "core/FastBMP.h"

namespace krt {

// Turns a picture stored with EXIF orientation 1 ... 8 upright, as photo
// viewers show it (the same pixels as Pillow's ImageOps.exif_transpose):
// 2 mirrors left-right, 3 turns 180 degrees, 4 mirrors top-bottom, 5
// transposes, 6 turns 90 degrees clockwise, 7 transposes across the other
// diagonal, 8 turns 90 degrees anticlockwise. Other values change nothing.
void ApplyOrientation(TFastBMP& picture, int orientation);

} // namespace krt
