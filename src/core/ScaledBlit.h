#pragma once

#include "core/FastBMP.h"

namespace krt {

// The grey shown where a view extends beyond the image.
constexpr PackedColor MarginColor = PackRGB(192, 192, 192);

struct BlitExtent {
    int columns = 0; // destination columns and rows filled from the source
    int rows = 0;
};

// Nearest-neighbour scaling of the source rectangle (x, y, w, h) into the
// top-left dw x dh pixels of dst, in 12-bit fixed point; the rest of that
// area is margin. A rectangle lying wholly outside the source gives margin only.
BlitExtent ScaledBlit(const TFastBMP& src, TFastBMP& dst, int x, int y, int w, int h, int dw, int dh);

} // namespace krt
