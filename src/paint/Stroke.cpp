#include "paint/Stroke.h"

#include "paint/Brushes.h"
#include "paint/RasterLine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace krt {
namespace {

using ProductRoots = std::array<std::uint8_t, 256 * 256>;

// trunc(sqrt(o * k)) for every pair of channel values.
const ProductRoots& MultiplyTable()
{
    static const ProductRoots table = [] {
        ProductRoots t{};
        for (int o = 0; o < 256; ++o)
            for (int k = 0; k < 256; ++k)
                t[static_cast<std::size_t>(o * 256 + k)] = static_cast<std::uint8_t>(std::sqrt(double(o * k)));
        return t;
    }();
    return table;
}

int CombineChannel(BrushMode mode, int o, int k)
{
    switch (mode) {
    case BrushMode::Xor: return o ^ k;
    case BrushMode::And: return o & k;
    case BrushMode::Multiply: return MultiplyTable()[static_cast<std::size_t>(o * 256 + k)];
    case BrushMode::Normal:
    case BrushMode::Blur: break;
    }
    return k;
}

// The rows and columns a segment touches: per row, the span of columns
// reached by the footprint box widened by `margin` on the left/top and
// `after` on the right/bottom at every point of the line.
struct SegmentSpans {
    int firstRow = 0;
    std::vector<int> from, to; // inclusive columns per row; from > to: none

    void Add(int x, int y, int before, int after)
    {
        for (int r = y - before; r <= y + after; ++r) {
            const auto i = static_cast<std::size_t>(r - firstRow);
            from[i] = std::min(from[i], x - before);
            to[i] = std::max(to[i], x + after);
        }
    }
};

} // namespace

PackedColor CombineColor(BrushMode mode, PackedColor o, PackedColor k)
{
    return PackRGB(CombineChannel(mode, RedOf(o), RedOf(k)), CombineChannel(mode, GreenOf(o), GreenOf(k)),
                   CombineChannel(mode, BlueOf(o), BlueOf(k)));
}

PackedColor BlurPixel(const TFastBMP& image, int x, int y)
{
    int sum[3] = {0, 0, 0};
    int count = 0;
    for (int r = std::max(y - 1, 0); r <= std::min(y + 1, image.Height - 1); ++r)
        for (int c = std::max(x - 1, 0); c <= std::min(x + 1, image.Width - 1); ++c) {
            const std::uint8_t* p = image.PixelAddress(c, r);
            sum[0] += p[0];
            sum[1] += p[1];
            sum[2] += p[2];
            ++count;
        }
    return PackRGB(sum[2] / count, sum[1] / count, sum[0] / count);
}

void ClearPaintMap(Editor& editor) { std::fill(editor.Buffers.PaintMap.begin(), editor.Buffers.PaintMap.end(), 0); }

namespace {

// Marks the footprint at every point of the line in the coverage map and
// returns the candidates: the footprint box widened by two pixels on every
// side, swept the same way.
SegmentSpans MarkCoverage(Editor& editor, int x, int y, int px, int py)
{
    const EditorSettings& s = editor.Settings;
    const int width = editor.Image.Width, height = editor.Image.Height;
    const int size = std::clamp(s.BrushSize, 0, MaxBrushSize);
    const int h = size / 2, e = size - h;
    const BrushMask& mask = BrushFootprint(s.BrushShape, size);
    std::uint8_t* paintMap = editor.Buffers.PaintMap.data();
    SegmentSpans spans;
    spans.firstRow = std::min(y, py) - h - 2;
    const std::size_t rows = static_cast<std::size_t>(std::abs(y - py) + size + 4);
    spans.from.assign(rows, width);
    spans.to.assign(rows, -1);
    WalkLine(x, y, px, py, [&](int lx, int ly) {
        spans.Add(lx, ly, h + 2, e + 1);
        for (int r = 0; r < size; ++r) {
            const int row = ly - h + r;
            if (row < 0 || row >= height)
                continue;
            const int c0 = std::max(lx - h + mask.runStart[static_cast<std::size_t>(r)], 0);
            const int c1 = std::min(lx - h + mask.runStart[static_cast<std::size_t>(r)] +
                                        mask.runLength[static_cast<std::size_t>(r)],
                                    width);
            if (c0 < c1)
                std::memset(paintMap + static_cast<std::size_t>(row) * width + c0, 1,
                            static_cast<std::size_t>(c1 - c0));
        }
    });
    return spans;
}

// How many of the nine pixels around (c, row) the stroke covers: the soft
// rim's weight (the pencil paints only what it covers, at full weight).
int CoveredNeighbours(const std::uint8_t* paintMap, int width, int height, int c, int row)
{
    int n = 0;
    for (int r = std::max(row - 1, 0); r <= std::min(row + 1, height - 1); ++r)
        for (int k = std::max(c - 1, 0); k <= std::min(c + 1, width - 1); ++k)
            n += paintMap[static_cast<std::size_t>(r) * width + k];
    return n;
}

} // namespace

void PaintSegment(Editor& editor, int x, int y, int px, int py)
{
    const SegmentSpans spans = MarkCoverage(editor, x, y, px, py);
    const EditorSettings& s = editor.Settings;
    TFastBMP& image = editor.Image;
    const TFastBMP& backup = editor.BackupImage;
    const int width = image.Width, height = image.Height;
    const std::uint8_t* paintMap = editor.Buffers.PaintMap.data();
    const std::uint8_t* selection = editor.Selection.HasSelection() ? editor.Selection.SelectionMask.data() : nullptr;
    const bool pencil = s.CurrentTool == Tool::Pencil;
    const PackedColor paint = s.CurrentTool == Tool::Eraser ? s.BackColor : s.ForeColor;
    const int t = std::clamp(s.Transparency, 0, 100);
    const int keep = 100 - t;
    for (std::size_t i = 0; i < spans.from.size(); ++i) {
        const int row = spans.firstRow + static_cast<int>(i);
        if (row < 0 || row >= height)
            continue;
        const int c0 = std::max(spans.from[i], 0), c1 = std::min(spans.to[i], width - 1);
        const std::size_t rowStart = static_cast<std::size_t>(row) * width;
        for (int c = c0; c <= c1; ++c) {
            if ((selection && selection[rowStart + c] == 0) || (pencil && paintMap[rowStart + c] == 0))
                continue;
            const int n = pencil ? 9 : CoveredNeighbours(paintMap, width, height, c, row);
            const std::uint8_t* o = backup.PixelAddress(c, row);
            const PackedColor target = s.BrushMode == BrushMode::Blur ? BlurPixel(backup, c, row)
                                                                      : CombineColor(s.BrushMode, ReadPixel(o), paint);
            std::uint8_t* out = image.PixelAddress(c, row);
            for (int ch = 0; ch < 3; ++ch) {
                const int oc = o[ch];
                const int pc = static_cast<int>((target >> (8 * ch)) & 0xFF);
                const int soft = (n * pc + (9 - n) * oc) / 9;
                out[ch] = static_cast<std::uint8_t>((t * oc + keep * soft) / 100);
            }
        }
    }
}

} // namespace krt
