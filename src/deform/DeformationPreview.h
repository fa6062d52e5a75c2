#pragma once

#include "core/FittedPreview.h"
#include "deform/Warp.h"

namespace krt {

// The deformation dialog's preview surface.
constexpr int PreviewSurfaceWidth = 214;
constexpr int PreviewSurfaceHeight = 206;

// The preview's place on the surface for a bitmap of width x height.
inline PreviewGeometry FitPreviewGeometry(int width, int height)
{
    return FitIntoBox(PreviewSurfaceWidth, PreviewSurfaceHeight, width, height);
}

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
