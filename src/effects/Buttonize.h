#pragma once

#include "core/FastBMP.h"

namespace krt {

// The button bevel, in place: n rings from the outside in (n limited to the
// picture's smaller side), ring i blending its pixels toward a colour with the
// colour's share 1 - i / n; the left column and top row toward `topLeft`, then
// the right column (down to the last row) and the bottom row (to the last
// column) toward `bottomRight`, each pass reading what the earlier left.
void Bevel(TFastBMP& buffer, int n, PackedColor topLeft, PackedColor bottomRight);

// "Нажатая" (pressed): black on the top and left, white on the bottom and
// right; not pressed the other way round.
struct BevelColors {
    PackedColor topLeft;
    PackedColor bottomRight;
};
BevelColors ButtonColors(bool pressed);

} // namespace krt
