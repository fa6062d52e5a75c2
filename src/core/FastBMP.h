#pragma once

#include "core/Color.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace krt {

// Work lists hold 16-bit coordinates, so no side of an image may exceed this.
constexpr int MaxImageSide = 32767;

// Bytes allocated after the pixel area, so that vector code may read any pixel
// as a 32-bit word.
constexpr int PixelSlack = 4;

// The 24-bit pixel buffer on which every image of the editor lives.
//
// Rows hold three bytes a pixel (blue, green, red), are padded to a multiple of
// four bytes and are stored bottom-up, exactly like a 24-bit BMP file's pixel
// area; RowTable hides the storage order, so every caller addresses rows
// top-down with row 0 the top row. The surface operations (drawing onto a
// window or printer) live in the user-interface layer; everything here is
// plain arithmetic on bytes.
class TFastBMP {
public:
    TFastBMP() = default;
    TFastBMP(int width, int height) { Allocate(width, height); }
    ~TFastBMP();
    TFastBMP(const TFastBMP&) = delete;
    TFastBMP& operator=(const TFastBMP&) = delete;
    TFastBMP(TFastBMP&& other) noexcept;
    TFastBMP& operator=(TFastBMP&& other) noexcept;

    // Resizes the buffer. The same size keeps the pixels; any other size gives a
    // new all-black pixel area. Throws KrtError when a side is negative or above
    // MaxImageSide, or when the memory cannot be had (the buffer is then unchanged).
    void Allocate(int width, int height);

    // Nearest-neighbour scaling into target at the target's current size:
    // block replication when enlarging both ways, 16.16 fixed-point steps otherwise.
    void ScaleInto(TFastBMP& target) const;
    // Bilinear scaling in 17.15 fixed point into target at its current size.
    void SmoothScaleInto(TFastBMP& target) const;
    // Copies the w x h block at (sx, sy) to (dx, dy) of target, clipped to both
    // buffers. target may be this buffer (rows are then moved one by one, top down).
    void CopyBlockInto(TFastBMP& target, int dx, int dy, int w, int h, int sx, int sy) const;
    // Repeats this buffer over the whole target from its top-left corner.
    void TileInto(TFastBMP& target) const;
    // Takes the source's size and pixels.
    void CopyFrom(const TFastBMP& source);
    // Fills the inclusive rectangle, clamped to the buffer, corners in any order.
    void FillBlock(int x1, int y1, int x2, int y2, PackedColor color);
    // Integer line with both end points; nothing when an end point is outside.
    void DrawLine(int x1, int y1, int x2, int y2, PackedColor color);

    // Convenience accessors for code that is not on a per-pixel hot path.
    std::uint8_t* PixelAddress(int x, int y) { return RowTable[static_cast<std::size_t>(y)] + 3 * x; }
    const std::uint8_t* PixelAddress(int x, int y) const { return RowTable[static_cast<std::size_t>(y)] + 3 * x; }
    PackedColor Pixel(int x, int y) const { return ReadPixel(PixelAddress(x, y)); }
    void SetPixel(int x, int y, PackedColor c) { WritePixel(PixelAddress(x, y), c); }
    void Fill(PackedColor color);
    bool Empty() const { return Width == 0 || Height == 0; }
    // True when both buffers have the same size and the same pixels (padding ignored).
    bool SamePixels(const TFastBMP& other) const;

    // Padding bytes at the end of each stored row (Width mod 4).
    int RowPad = 0;
    // Bytes per stored row: 3 x Width rounded up to a multiple of 4.
    int RowBytes = 0;
    // RowBytes x Height. Wider than 32 bits: a 32767 x 32767 image needs 3.2 GB.
    std::int64_t DataSize = 0;
    int Width = 0;
    int Height = 0;
    // Entry y points at the first byte of image row y, row 0 being the top row.
    std::vector<std::uint8_t*> RowTable;
    // The start of the pixel area, which holds the bottom row first.
    std::uint8_t* PixelData = nullptr;

private:
    void Release() noexcept;
};

} // namespace krt
