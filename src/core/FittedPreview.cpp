#include "core/FittedPreview.h"

#include "core/ScaledBlit.h"

namespace krt {

PreviewGeometry FitIntoBox(int boxWidth, int boxHeight, int width, int height)
{
    PreviewGeometry g;
    if (width <= 0 || height <= 0)
        return g;
    // Division first, then multiplication, truncated.
    const int fitHeight = static_cast<int>(static_cast<double>(boxHeight - 2) / height * width);
    const int fitWidth = boxWidth - 2;
    if (fitWidth < fitHeight) { // the width limits
        g.width = fitWidth;
        g.height = static_cast<int>(static_cast<double>(fitWidth) / width * height);
        g.offsetY = (boxHeight - g.height) / 2;
    } else {
        g.width = fitHeight;
        g.height = boxHeight - 2;
        g.offsetX = (boxWidth - fitHeight) / 2;
    }
    return g;
}

void ScaleIntoPreview(const TFastBMP& picture, const PreviewGeometry& g, TFastBMP& preview)
{
    preview.Allocate(g.width, g.height);
    if (picture.Empty() || preview.Empty())
        return;
    ScaledBlit(picture, preview, 0, 0, picture.Width, picture.Height, g.width, g.height);
    // Each preview pixel is a copy of one picture pixel, so a key-colour pixel
    // here was a key-colour pixel there.
    for (int y = 0; y < preview.Height; ++y) {
        std::uint8_t* p = preview.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < preview.Width; ++x, p += 3)
            if (ReadPixel(p) == KeyColor)
                WritePixel(p, Black);
    }
}

} // namespace krt
