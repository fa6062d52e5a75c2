#include "deform/DeformationPreview.h"

#include "deform/TargetFill.h"
#include "deform/WarpRows.h"
#include "deform/formula/FastBackend.h"

namespace krt {

PreviewGeometry FitPreview(const TFastBMP& destination, TFastBMP& sourcePreview, TFastBMP& targetPreview)
{
    const PreviewGeometry g = FitPreviewGeometry(destination.Width, destination.Height);
    ScaleIntoPreview(destination, g, sourcePreview);
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
    if (!params.source && job.landingX)
        FillTargets(job, 1);
    else if (!params.source)
        job.ResolveWinners(0, targetPreview.Height);
    return {};
}

} // namespace krt
