#include "core/DialogPreview.h"

#include "core/FittedPreview.h"

namespace krt {

void DialogPreview::Prepare(const TFastBMP& target)
{
    const PreviewGeometry g = FitIntoBox(boxWidth, boxHeight, target.Width, target.Height);
    ScaleIntoPreview(target, g, a);
    // Preview pixels per picture pixel, in single precision, along the side
    // that limits the fit (a width-limited preview spans the box across).
    const bool widthLimited = g.offsetX == 0;
    if (target.Empty())
        scale = 1.0f;
    else if (widthLimited)
        scale = static_cast<float>(g.height) / static_cast<float>(target.Height);
    else
        scale = static_cast<float>(g.width) / static_cast<float>(target.Width);
    offsetX = g.offsetX;
    offsetY = g.offsetY;
    Reset();
}

const TFastBMP& DialogPreview::Box()
{
    box.Allocate(boxWidth, boxHeight);
    box.Fill(Black);
    b.CopyBlockInto(box, offsetX, offsetY, b.Width, b.Height, 0, 0);
    return box;
}

} // namespace krt
