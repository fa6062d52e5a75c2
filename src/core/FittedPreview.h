#pragma once

#include "core/FastBMP.h"

namespace krt {

// Where a picture goes in a preview box of boxWidth x boxHeight: as large as
// the box allows less a pixel on each side, at the picture's aspect ratio
// (sizes truncated), centred the other way. Empty for an empty picture.
struct PreviewGeometry {
    int width = 0;
    int height = 0;
    int offsetX = 0;
    int offsetY = 0;
};
PreviewGeometry FitIntoBox(int boxWidth, int boxHeight, int width, int height);

// The picture scaled into `preview` at the geometry's size (whole pixels
// repeated or dropped), with its key-colour pixels (the empty cells of a
// floating block) shown black. The picture itself is left as it is.
void ScaleIntoPreview(const TFastBMP& picture, const PreviewGeometry& geometry, TFastBMP& preview);

} // namespace krt
