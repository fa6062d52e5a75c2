#include "imageio/Orientation.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace krt {
namespace {

void MirrorRows(TFastBMP& picture)
{
    for (int y = 0; y < picture.Height; ++y) {
        std::uint8_t* row = picture.RowTable[static_cast<std::size_t>(y)];
        for (int a = 0, b = picture.Width - 1; a < b; ++a, --b)
            for (int c = 0; c < 3; ++c)
                std::swap(row[3 * a + c], row[3 * b + c]);
    }
}

void MirrorColumns(TFastBMP& picture)
{
    const std::size_t bytes = static_cast<std::size_t>(3) * picture.Width;
    std::vector<std::uint8_t> spare(bytes);
    for (int a = 0, b = picture.Height - 1; a < b; ++a, --b) {
        std::uint8_t* top = picture.RowTable[static_cast<std::size_t>(a)];
        std::uint8_t* bottom = picture.RowTable[static_cast<std::size_t>(b)];
        std::memcpy(spare.data(), top, bytes);
        std::memcpy(top, bottom, bytes);
        std::memcpy(bottom, spare.data(), bytes);
    }
}

} // namespace

void ApplyOrientation(TFastBMP& picture, int orientation)
{
    switch (orientation) {
    case 2: MirrorRows(picture); return;
    case 3:
        MirrorRows(picture);
        MirrorColumns(picture);
        return;
    case 4: MirrorColumns(picture); return;
    case 5:
    case 6:
    case 7:
    case 8: break;
    default: return;
    }
    // The quarter turns and transposes: the upright picture's (x, y) takes
    // the stored pixel (sx, sy), with width and height exchanged.
    const int w = picture.Width, h = picture.Height;
    TFastBMP upright(h, w);
    for (int y = 0; y < w; ++y) {
        std::uint8_t* out = upright.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < h; ++x, out += 3) {
            const int sx = orientation == 5 || orientation == 6 ? y : w - 1 - y;
            const int sy = orientation == 5 || orientation == 8 ? x : h - 1 - x;
            std::memcpy(out, picture.RowTable[static_cast<std::size_t>(sy)] + 3 * sx, 3);
        }
    }
    picture = std::move(upright);
}

} // namespace krt
