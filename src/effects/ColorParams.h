#pragma once

#include "core/FastBMP.h"
#include "effects/PixelTables.h"

namespace krt {

// The three colour operations, in place on every pixel (each byte clamped).
// Saturation s (0..255): c' = c s / 256 + g - g s / 256 with g the pixel's
// mean; lightness l: c' = c + (255 - c) l / 256; contrast k: levels move away
// from the middle by |128 - c| k / 256 (down up to 126, up from 127).
// Rows are shared among `threads` threads (0: one per core).
void Saturation(TFastBMP& buffer, int s, int threads = 0);
void Lightness(TFastBMP& buffer, int l, int threads = 0);
void Contrast(TFastBMP& buffer, int k, int threads = 0);

ByteTable LightnessTable(int l);
ByteTable ContrastTable(int k);

// Saturation, then lightness, then contrast, in one pass with the same
// result as the three in turn; rows over all cores.
void ApplyColorParams(TFastBMP& buffer, int s, int l, int k, int threads = 0);

} // namespace krt
