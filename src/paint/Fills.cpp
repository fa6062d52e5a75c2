#include "paint/Fills.h"

#include "paint/SameColor.h"
#include "paint/Selection.h"
#include "paint/WorkQueue.h"

#include <algorithm>

namespace krt {
namespace {

// Floods from the seed over the four neighbours (left, up, right, down) that
// `joins` accepts, painting each in the foreground colour as it is reached.
// `joins` must reject painted pixels, so that none enters the list twice.
template <typename Joins>
void Flood(Editor& editor, int x, int y, Joins&& joins, std::uint8_t* visited)
{
    TFastBMP& image = editor.Image;
    const PackedColor fore = editor.settings.ForeColor;
    WorkQueue queue(editor.buffers);
    auto take = [&](int cx, int cy) {
        WritePixel(image.PixelAddress(cx, cy), fore);
        if (visited)
            visited[static_cast<std::size_t>(cy) * image.Width + cx] = 0;
        queue.Push(cx, cy);
    };
    take(x, y);
    int cx, cy;
    while (queue.Pop(cx, cy))
        ForEachNeighbour(cx, cy, image.Width, image.Height, [&](int nx, int ny) {
            if (IsSelected(editor, nx, ny) && joins(nx, ny))
                take(nx, ny);
        });
}

template <typename Replace>
void ReplaceWhere(Editor& editor, Replace&& replace)
{
    TFastBMP& image = editor.Image;
    const PackedColor back = editor.settings.BackColor;
    for (int y = 0; y < image.Height; ++y) {
        std::uint8_t* p = image.RowTable[static_cast<std::size_t>(y)];
        const std::uint8_t* selection =
            editor.HasSelection ? editor.buffers.SelectionMask.data() + static_cast<std::size_t>(y) * image.Width
                                : nullptr;
        for (int x = 0; x < image.Width; ++x, p += 3)
            if ((!selection || selection[x] != 0) && replace(p))
                WritePixel(p, back);
    }
}

} // namespace

void FillSameColor(Editor& editor, int x, int y)
{
    if (!IsSelected(editor, x, y))
        return;
    const PackedColor seed = editor.Image.Pixel(x, y);
    if (SameColor(editor.settings, seed, editor.settings.ForeColor))
        return;
    const ColorMatch matches(editor.settings, seed);
    Flood(
        editor, x, y, [&](int cx, int cy) { return matches(editor.Image.PixelAddress(cx, cy)); }, nullptr);
}

void FillToBackground(Editor& editor, int x, int y)
{
    if (!IsSelected(editor, x, y))
        return;
    std::uint8_t* unvisited = editor.buffers.PaintMap.data();
    std::fill(editor.buffers.PaintMap.begin(), editor.buffers.PaintMap.end(), 1);
    const ColorMatch background(editor.settings, editor.settings.BackColor);
    if (background(editor.Image.PixelAddress(x, y)))
        return;
    const int w = editor.Image.Width;
    Flood(
        editor, x, y,
        [&](int cx, int cy) {
            return unvisited[static_cast<std::size_t>(cy) * w + cx] != 0 &&
                   !background(editor.Image.PixelAddress(cx, cy));
        },
        unvisited);
}

void ReplaceColorEverywhere(Editor& editor, int x, int y)
{
    const ColorMatch matches(editor.settings, editor.Image.Pixel(x, y));
    ReplaceWhere(editor, [&](const std::uint8_t* p) { return matches(p); });
}

void ReplaceAllButColor(Editor& editor, int x, int y)
{
    const ColorMatch matches(editor.settings, editor.Image.Pixel(x, y));
    ReplaceWhere(editor, [&](const std::uint8_t* p) { return !matches(p); });
}

} // namespace krt
