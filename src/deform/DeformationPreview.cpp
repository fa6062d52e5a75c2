#include "deform/DeformationPreview.h"

#include "deform/WarpRows.h"
#include "deform/formula/FastBackend.h"
#include "core/ScaledBlit.h"

namespace krt {

PreviewGeometry FitPreviewGeometry(int width, int height)
{
    PreviewGeometry g;
    if (width <= 0 || height <= 0)
        return g;
    const int a = static_cast<int>(static_cast<double>(PreviewSurfaceHeight - 2) / height * width);
    const int b = PreviewSurfaceWidth - 2;
    const int c = static_cast<int>(static_cast<double>(b) / width * height);
    if (b < a) { // the width limits
        g.width = b;
        g.height = c;
        g.offsetY = (PreviewSurfaceHeight - c) / 2;
    } else {
        g.width = a;
        g.height = PreviewSurfaceHeight - 2;
        g.offsetX = (PreviewSurfaceWidth - a) / 2;
    }
    return g;
}

PreviewGeometry FitPreview(const TFastBMP& destination, TFastBMP& sourcePreview, TFastBMP& targetPreview)
{
    const PreviewGeometry g = FitPreviewGeometry(destination.Width, destination.Height);
    sourcePreview.Allocate(g.width, g.height);
    targetPreview.Allocate(g.width, g.height);
    ScaledBlit(destination, sourcePreview, 0, 0, destination.Width, destination.Height, g.width, g.height);
    // Each preview pixel is a copy of one destination pixel, so a key-colour
    // pixel here was a key-colour pixel there.
    for (int y = 0; y < sourcePreview.Height; ++y) {
        std::uint8_t* p = sourcePreview.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < sourcePreview.Width; ++x, p += 3)
            if (ReadPixel(p) == KeyColor)
                WritePixel(p, Black);
    }
    targetPreview.CopyFrom(sourcePreview);
    return g;
}

WarpResult RenderPreview(const DeformationParams& params, int width, int height, const TFastBMP& sourcePreview,
                         TFastBMP& targetPreview, PackedColor background, const WarpOptions& options)
{
    CompiledDeformation programs;
    if (const char label = CompileDeformation(params, width, height, options, programs))
        return {WarpStatus::IncorrectFormula, label};
    if (targetPreview.Empty())
        return {};
    WarpJob job(programs, sourcePreview, targetPreview, params, background, options, FastKernels(options.isa),
                WarpGeometry{width, height, true});
    if (!params.source)
        job.PrepareTargets();
    job.Work();
    if (!params.source)
        job.ResolveWinners(0, targetPreview.Height);
    return {};
}

} // namespace krt
