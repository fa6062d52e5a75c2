#pragma once

#include "deform/Warp.h"

namespace krt {

// The deformation dialog's preview surface.
constexpr int PreviewSurfaceWidth = 214;
constexpr int PreviewSurfaceHeight = 206;

// Where and how large the preview is drawn on the surface.
struct PreviewGeometry {
    int width = 0;
    int height = 0;
    int offsetX = 0;
    int offsetY = 0;
};

// The preview's size for a bitmap: as large as the surface allows (less a
// pixel on each side) at the bitmap's aspect ratio, centred the other way.
PreviewGeometry FitPreviewGeometry(int width, int height);

// Sizes both preview buffers for the destination, scales the destination into
// the source preview with its key-colour pixels (the empty cells of a
// floating block) shown black, and copies it into the target preview. The
// destination itself is left as it is.
PreviewGeometry FitPreview(const TFastBMP& destination, TFastBMP& sourcePreview, TFastBMP& targetPreview);

// Recompiles the formulas for a bitmap of width x height and warps the source
// preview into the target preview. Pixels that nothing maps get the
// background, as the full warp gives them.
WarpResult RenderPreview(const DeformationParams& params, int width, int height, const TFastBMP& sourcePreview,
                         TFastBMP& targetPreview, PackedColor background, const WarpOptions& options = {});

} // namespace krt
