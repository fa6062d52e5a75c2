#include "effects/Buttonize.h"

#include <algorithm>

namespace krt {
namespace {

void Blend(std::uint8_t* p, PackedColor color, double share, double keep)
{
    const std::uint8_t* c = reinterpret_cast<const std::uint8_t*>(&color);
    for (int ch = 0; ch < 3; ++ch)
        p[ch] = static_cast<std::uint8_t>(keep * p[ch] + share * c[ch]);
}

} // namespace

void Bevel(TFastBMP& buffer, int n, PackedColor topLeft, PackedColor bottomRight)
{
    const int w = buffer.Width, h = buffer.Height;
    n = std::min({n, w, h});
    for (int i = 0; i < n; ++i) {
        const double share = 1.0 - static_cast<double>(i) / n, keep = 1.0 - share;
        for (int y = i; y <= h - 1 - i; ++y)
            Blend(buffer.PixelAddress(i, y), topLeft, share, keep);
        for (int x = i; x <= w - 1 - i; ++x)
            Blend(buffer.PixelAddress(x, i), topLeft, share, keep);
        for (int y = i; y <= h - 1; ++y)
            Blend(buffer.PixelAddress(w - 1 - i, y), bottomRight, share, keep);
        for (int x = i; x <= w - 1; ++x)
            Blend(buffer.PixelAddress(x, h - 1 - i), bottomRight, share, keep);
    }
}

BevelColors ButtonColors(bool pressed) { return pressed ? BevelColors{Black, White} : BevelColors{White, Black}; }

} // namespace krt
