#pragma once

#include "core/FastBMP.h"

namespace krt {

// Emboss, in place: each byte becomes the floor of the mean of itself and the
// inverse of its upper-right neighbour (column x + 1, kept to the picture;
// the top row pairs with the bottom row as it was). Every output depends only
// on the picture as it was before. Rows over all cores.
void Emboss(TFastBMP& buffer);

} // namespace krt
