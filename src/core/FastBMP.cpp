#include "core/FastBMP.h"

#include "core/KrtError.h"
#include "core/LargeMemory.h"
#include "core/OwnMessages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>

namespace krt {
namespace {

constexpr OwnMessage ImpossibleImage{"An image of {1} x {2} pixels is not possible: no side may exceed {3} pixels.",
                                     "Изображение {1} x {2} точек невозможно: сторона не может превышать {3} точек."};
constexpr OwnMessage NoImageMemory{"Not enough memory for an image of {1} x {2} pixels.",
                                   "Недостаточно памяти для изображения {1} x {2} точек."};

} // namespace

TFastBMP::~TFastBMP() { Release(); }

TFastBMP::TFastBMP(TFastBMP&& other) noexcept
    : RowPad(other.RowPad), RowBytes(other.RowBytes), DataSize(other.DataSize), Width(other.Width),
      Height(other.Height), RowTable(std::move(other.RowTable)), PixelData(other.PixelData)
{
    other.PixelData = nullptr;
    other.RowTable.clear();
    other.RowPad = other.RowBytes = other.Width = other.Height = 0;
    other.DataSize = 0;
}

TFastBMP& TFastBMP::operator=(TFastBMP&& other) noexcept
{
    if (this != &other) {
        Release();
        RowPad = std::exchange(other.RowPad, 0);
        RowBytes = std::exchange(other.RowBytes, 0);
        DataSize = std::exchange(other.DataSize, 0);
        Width = std::exchange(other.Width, 0);
        Height = std::exchange(other.Height, 0);
        RowTable = std::move(other.RowTable);
        other.RowTable.clear();
        PixelData = std::exchange(other.PixelData, nullptr);
    }
    return *this;
}

void TFastBMP::Release() noexcept
{
    if (PixelData)
        FreeLarge(PixelData, static_cast<std::size_t>(DataSize) + PixelSlack);
    PixelData = nullptr;
    RowTable.clear();
    RowTable.shrink_to_fit();
}

void TFastBMP::Allocate(int width, int height)
{
    if (width == Width && height == Height)
        return;
    if (width < 0 || height < 0 || width > MaxImageSide || height > MaxImageSide)
        throw KrtError(
            Say(ImpossibleImage, {std::to_string(width), std::to_string(height), std::to_string(MaxImageSide)}));

    const int rowBytes = ((width * 24 + 31) / 32) * 4;
    const std::int64_t dataSize = static_cast<std::int64_t>(rowBytes) * height;
    std::uint8_t* pixels = nullptr;
    std::vector<std::uint8_t*> rows;
    // A buffer of no width still has a row table of `height` rows; they point
    // at the slack bytes, so loops over its empty rows touch valid memory.
    if (dataSize > 0 || height > 0) {
        pixels = static_cast<std::uint8_t*>(AllocateLarge(static_cast<std::size_t>(dataSize) + PixelSlack));
        try {
            if (!pixels)
                throw std::bad_alloc();
            rows.resize(static_cast<std::size_t>(height));
        } catch (const std::bad_alloc&) {
            FreeLarge(pixels, static_cast<std::size_t>(dataSize) + PixelSlack);
            throw KrtError(Say(NoImageMemory, {std::to_string(width), std::to_string(height)}));
        }
        // Row h - 1 (the bottom row) is stored first.
        for (int y = 0; y < height; ++y)
            rows[static_cast<std::size_t>(y)] = pixels + static_cast<std::int64_t>(height - 1 - y) * rowBytes;
    }

    Release();
    Width = width;
    Height = height;
    RowBytes = rowBytes;
    RowPad = width % 4;
    DataSize = dataSize;
    PixelData = pixels;
    RowTable = std::move(rows);
}

void TFastBMP::CopyFrom(const TFastBMP& source)
{
    if (&source == this)
        return;
    Allocate(source.Width, source.Height);
    if (DataSize > 0)
        std::memcpy(PixelData, source.PixelData, static_cast<std::size_t>(DataSize));
}

void TFastBMP::ScaleInto(TFastBMP& target) const
{
    if (target.Width == 0 || target.Height == 0 || Width == 0 || Height == 0)
        return;
    if (target.Width == Width && target.Height == Height) {
        std::memcpy(target.PixelData, PixelData, static_cast<std::size_t>(DataSize));
        return;
    }
    const float rx = static_cast<float>(target.Width) / static_cast<float>(Width);
    const float ry = static_cast<float>(target.Height) / static_cast<float>(Height);
    if (rx >= 1.0f && ry >= 1.0f) {
        // Enlarging both ways: replicate blocks through one line buffer. The
        // block is never narrower than the ratio rounded up, so every target
        // pixel is written; where blocks overlap the later one wins.
        const int bw = static_cast<int>(std::nearbyint(rx + 0.5f));
        const int bh = static_cast<int>(std::nearbyint(ry + 0.5f));
        std::vector<std::uint8_t> line(static_cast<std::size_t>(target.Width) * 3);
        const std::size_t lineBytes = line.size();
        for (int i = 0; i < Height; ++i) {
            const int ty = static_cast<int>(static_cast<double>(ry) * i);
            const std::uint8_t* src = RowTable[static_cast<std::size_t>(i)];
            for (int j = 0; j < Width; ++j) {
                const int tx = static_cast<int>(static_cast<double>(rx) * j);
                const int end = std::min(tx + bw, target.Width);
                for (int k = tx; k < end; ++k)
                    std::memcpy(&line[static_cast<std::size_t>(k) * 3], src + 3 * j, 3);
            }
            const int rowEnd = std::min(ty + bh, target.Height);
            for (int r = ty; r < rowEnd; ++r)
                std::memcpy(target.RowTable[static_cast<std::size_t>(r)], line.data(), lineBytes);
        }
        return;
    }
    // Shrinking at least one way: 16.16 fixed-point steps in both directions.
    const std::int64_t xstep = static_cast<std::int64_t>(Width) * 65536 / target.Width;
    const std::int64_t ystep = static_cast<std::int64_t>(Height) * 65536 / target.Height;
    for (int i = 0; i < target.Height; ++i) {
        const std::uint8_t* src = RowTable[static_cast<std::size_t>((i * ystep) >> 16)];
        std::uint8_t* dst = target.RowTable[static_cast<std::size_t>(i)];
        std::int64_t sx = 0;
        for (int k = 0; k < target.Width; ++k, sx += xstep) {
            const std::uint8_t* p = src + 3 * (sx >> 16);
            dst[0] = p[0];
            dst[1] = p[1];
            dst[2] = p[2];
            dst += 3;
        }
    }
}

void TFastBMP::SmoothScaleInto(TFastBMP& target) const
{
    if (target.Width <= 0 || target.Height <= 0 || Width == 0 || Height == 0)
        return;
    if (Width == 1) {
        ScaleInto(target);
        return;
    }
    if (target.Width == Width && target.Height == Height) {
        std::memcpy(target.PixelData, PixelData, static_cast<std::size_t>(DataSize));
        return;
    }
    const std::int64_t xstep = (static_cast<std::int64_t>(Width - 1) << 15) / target.Width;
    const std::int64_t ystep = (static_cast<std::int64_t>(Height - 1) << 15) / target.Height;
    for (int i = 0; i < target.Height; ++i) {
        const std::int64_t y = i * ystep;
        const int upperRow = static_cast<int>(y >> 15);
        const int lowerRow = upperRow == Height - 1 ? upperRow : upperRow + 1;
        const std::uint32_t fy = static_cast<std::uint32_t>(y & 0x7FFF);
        const std::uint8_t* upper = RowTable[static_cast<std::size_t>(upperRow)];
        const std::uint8_t* lower = RowTable[static_cast<std::size_t>(lowerRow)];
        std::uint8_t* dst = target.RowTable[static_cast<std::size_t>(i)];
        std::int64_t x = 0;
        for (int k = 0; k < target.Width; ++k, x += xstep) {
            const std::int64_t c = x >> 15;
            const std::uint32_t fx = static_cast<std::uint32_t>(x & 0x7FFF);
            const std::uint32_t upperRight = (fx * (32768 - fy)) >> 15;
            const std::uint32_t upperLeft = 32768 - fy - upperRight;
            const std::uint32_t lowerRight = (fx * fy) >> 15;
            const std::uint32_t lowerLeft = fy - lowerRight;
            const std::uint8_t* ul = upper + 3 * c;
            const std::uint8_t* ll = lower + 3 * c;
            for (int ch = 0; ch < 3; ++ch)
                dst[ch] = static_cast<std::uint8_t>(
                    (upperLeft * ul[ch] + upperRight * ul[ch + 3] + lowerLeft * ll[ch] + lowerRight * ll[ch + 3]) >>
                    15);
            dst += 3;
        }
    }
}

void TFastBMP::CopyBlockInto(TFastBMP& target, int dx, int dy, int w, int h, int sx, int sy) const
{
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    if (sx > Width - 1 || sy > Height - 1)
        return;
    w = std::min(w, Width - sx);
    h = std::min(h, Height - sy);
    w = std::min(w, target.Width - dx);
    h = std::min(h, target.Height - dy);
    if (w <= 0 || h <= 0)
        return;
    for (int r = 0; r < h; ++r)
        std::memmove(target.RowTable[static_cast<std::size_t>(dy + r)] + 3 * dx,
                     RowTable[static_cast<std::size_t>(sy + r)] + 3 * sx, static_cast<std::size_t>(3 * w));
}

void TFastBMP::TileInto(TFastBMP& target) const
{
    if (Width == 0 || Height == 0 || target.Width == 0 || target.Height == 0)
        return;
    CopyBlockInto(target, 0, 0, Width, Height, 0, 0);
    int c = Width;
    while (c < target.Width) {
        target.CopyBlockInto(target, c, 0, 2 * c, Height, 0, 0);
        c *= 2;
    }
    int r = Height;
    while (r < target.Height) {
        target.CopyBlockInto(target, 0, r, c, 2 * r, 0, 0);
        r *= 2;
    }
}

void TFastBMP::FillBlock(int x1, int y1, int x2, int y2, PackedColor color)
{
    if (Empty())
        return;
    auto clamp = [](int v, int hi) { return std::max(std::min(v, hi), 0); };
    x1 = clamp(x1, Width - 1);
    x2 = clamp(x2, Width - 1);
    y1 = clamp(y1, Height - 1);
    y2 = clamp(y2, Height - 1);
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    for (int y = y1; y <= y2; ++y) {
        std::uint8_t* p = PixelAddress(x1, y);
        for (int x = x1; x <= x2; ++x, p += 3)
            WritePixel(p, color);
    }
}

void TFastBMP::Fill(PackedColor color) { FillBlock(0, 0, Width - 1, Height - 1, color); }

void TFastBMP::DrawLine(int x1, int y1, int x2, int y2, PackedColor color)
{
    auto inside = [this](int x, int y) { return x >= 0 && x < Width && y >= 0 && y < Height; };
    if (!inside(x1, y1) || !inside(x2, y2))
        return;
    const int ax = std::abs(x2 - x1);
    const int ay = std::abs(y2 - y1);
    const int sx = x2 >= x1 ? 1 : -1;
    const int sy = y2 >= y1 ? 1 : -1;
    const int dx2 = 2 * ax;
    const int dy2 = 2 * ay;
    int x = x1;
    int y = y1;
    SetPixel(x, y, color);
    if (dy2 < dx2) {
        int err = dy2 - ax;
        while (x != x2) {
            if (err >= 0) {
                y += sy;
                err -= dx2;
            }
            x += sx;
            err += dy2;
            SetPixel(x, y, color);
        }
    } else {
        int err = dx2 - ay;
        while (y != y2) {
            y += sy;
            if (err >= 0) {
                x += sx;
                err -= dy2;
            }
            err += dx2;
            SetPixel(x, y, color);
        }
    }
}

bool TFastBMP::SamePixels(const TFastBMP& other) const
{
    if (Width != other.Width || Height != other.Height)
        return false;
    for (int y = 0; y < Height; ++y)
        if (std::memcmp(RowTable[static_cast<std::size_t>(y)], other.RowTable[static_cast<std::size_t>(y)],
                        static_cast<std::size_t>(3 * Width)) != 0)
            return false;
    return true;
}

} // namespace krt
