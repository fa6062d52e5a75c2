#include "effects/DialogPreview.h"

#include "core/ScaledBlit.h"

#include <algorithm>

namespace krt {

void DialogPreview::Prepare(const TFastBMP& target)
{
    const int w = std::max(target.Width, 1), h = std::max(target.Height, 1);
    const int fitHeight = static_cast<int>(static_cast<double>(boxHeight - 2) / h * w);
    const int fitWidth = boxWidth - 2;
    const int heightForWidth = static_cast<int>(static_cast<double>(fitWidth) / w * h);
    int pw, ph;
    if (fitWidth >= fitHeight) {
        scale = static_cast<float>(fitHeight) / static_cast<float>(w);
        offsetX = (boxWidth - fitHeight) / 2;
        offsetY = 0;
        pw = fitHeight;
        ph = boxHeight - 2;
    } else {
        scale = static_cast<float>(heightForWidth) / static_cast<float>(h);
        offsetX = 0;
        offsetY = (boxHeight - heightForWidth) / 2;
        pw = fitWidth;
        ph = heightForWidth;
    }
    a.Allocate(std::max(pw, 0), std::max(ph, 0));
    b.Allocate(a.Width, a.Height);
    if (!target.Empty() && !a.Empty())
        ScaledBlit(target, a, 0, 0, target.Width, target.Height, a.Width, a.Height);
    // Each preview pixel copies one target pixel: a key-colour pixel here was one there.
    for (int y = 0; y < a.Height; ++y) {
        std::uint8_t* p = a.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < a.Width; ++x, p += 3)
            if (ReadPixel(p) == KeyColor)
                WritePixel(p, Black);
    }
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
