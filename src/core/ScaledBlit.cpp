#include "core/ScaledBlit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace krt {
namespace {

// `count` pixels of the grey margin from `d` on.
void FillMargin(std::uint8_t* d, int count)
{
    for (int j = 0; j < count; ++j, d += 3)
        WritePixel(d, MarginColor);
}

} // namespace

BlitExtent ScaledBlit(const TFastBMP& src, TFastBMP& dst, int x, int y, int w, int h, int dw, int dh)
{
    dw = std::min(dw, dst.Width);
    dh = std::min(dh, dst.Height);
    if (dw <= 0 || dh <= 0)
        return {};
    // Steps from the requested size, before clipping; a step below one 4096th
    // (a view many thousand times larger than its source) counts as one.
    const std::int64_t stepX = std::max<std::int64_t>(1, static_cast<std::int64_t>(w) * 4096 / dw);
    const std::int64_t stepY = std::max<std::int64_t>(1, static_cast<std::int64_t>(h) * 4096 / dh);
    if (x < 0)
        x = 0;
    else if (x + w > src.Width)
        w = src.Width - x;
    if (y < 0)
        y = 0;
    else if (y + h > src.Height)
        h = src.Height - y;
    // Nothing of the source lies in a rectangle to the right of or below it.
    const std::int64_t spanX = std::max(0, std::min(src.Width - x, w));
    const std::int64_t spanY = std::max(0, std::min(src.Height - y, h));
    const int cols = static_cast<int>(std::min<std::int64_t>(spanX * 4096 / stepX, dw));
    const int rows = static_cast<int>(std::min<std::int64_t>(spanY * 4096 / stepY, dh));

    // Byte offsets of the source columns, worked out once for all rows.
    std::vector<std::uint32_t> offsets(static_cast<std::size_t>(cols));
    std::int64_t sx = x * std::int64_t{4096};
    for (int j = 0; j < cols; ++j, sx += stepX)
        offsets[static_cast<std::size_t>(j)] = static_cast<std::uint32_t>(3 * (sx >> 12));
    const bool contiguous = stepX == 4096; // 1:1 columns: each row is one block copy
    const std::uint8_t* previous = nullptr;
    for (int i = 0; i < rows; ++i) {
        const std::uint8_t* s = src.RowTable[static_cast<std::size_t>((y * std::int64_t{4096} + i * stepY) >> 12)];
        std::uint8_t* d = dst.RowTable[static_cast<std::size_t>(i)];
        if (s == previous) {
            // Zoomed in: the row repeats the one above it.
            std::memcpy(d, dst.RowTable[static_cast<std::size_t>(i - 1)], static_cast<std::size_t>(3 * dw));
            continue;
        }
        previous = s;
        if (contiguous) {
            std::memcpy(d, s + (cols > 0 ? offsets[0] : 0), static_cast<std::size_t>(3 * cols));
            d += 3 * cols;
        } else {
            const std::uint32_t* o = offsets.data();
            for (int j = 0; j < cols; ++j, d += 3) {
                const std::uint8_t* p = s + o[j];
                d[0] = p[0];
                d[1] = p[1];
                d[2] = p[2];
            }
        }
        FillMargin(d, dw - cols);
    }
    for (int i = rows; i < dh; ++i)
        FillMargin(dst.RowTable[static_cast<std::size_t>(i)], dw);
    return {cols, rows};
}

} // namespace krt
