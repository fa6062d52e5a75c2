#include "paint/Fills.h"

#include "paint/SameColor.h"
#include "paint/SelectionShapes.h"
#include "paint/SpanFlood.h"

#include <algorithm>

namespace krt {
namespace {

template <typename Replace> void ReplaceWhere(Editor& editor, Replace&& replace)
{
    TFastBMP& image = editor.Image;
    const PackedColor back = editor.Settings.BackColor;
    for (int y = 0; y < image.Height; ++y) {
        std::uint8_t* p = image.RowTable[static_cast<std::size_t>(y)];
        const std::uint8_t* selection = editor.Selection.HasSelection() ? editor.Selection.SelectionMask.data() +
                                                                              static_cast<std::size_t>(y) * image.Width
                                                                        : nullptr;
        for (int x = 0; x < image.Width; ++x, p += 3)
            if ((!selection || selection[x] != 0) && replace(p))
                WritePixel(p, back);
    }
}

} // namespace

void FillSameColor(Editor& editor, int x, int y)
{
    if (!editor.Selection.IsSelected(x, y))
        return;
    const PackedColor seed = editor.Image.Pixel(x, y);
    const PackedColor fore = editor.Settings.ForeColor;
    if (SameColor(editor.Settings, seed, fore))
        return;
    const ColorMatch matches(editor.Settings, seed);
    // The stroke coverage map marks the filled cells: pixels of the fill
    // colour may have been there before.
    std::uint8_t* filled = editor.Buffers.PaintMap.data();
    std::fill(editor.Buffers.PaintMap.begin(), editor.Buffers.PaintMap.end(), 0);
    const int w = editor.Image.Width;
    auto at = [w](int cx, int cy) { return static_cast<std::size_t>(cy) * w + cx; };
    SpanFlood(
        editor.Buffers, w, editor.Image.Height, x, y,
        [&](int cx, int cy) {
            return filled[at(cx, cy)] == 0 && editor.Selection.IsSelected(cx, cy) &&
                   matches(editor.Image.PixelAddress(cx, cy));
        },
        [&](int cx, int cy) {
            filled[at(cx, cy)] = 1;
            WritePixel(editor.Image.PixelAddress(cx, cy), fore);
        },
        [&](int cx, int cy) { return filled[at(cx, cy)] != 0; });
}

void FillToBackground(Editor& editor, int x, int y)
{
    if (!editor.Selection.IsSelected(x, y))
        return;
    std::uint8_t* unvisited = editor.Buffers.PaintMap.data();
    std::fill(editor.Buffers.PaintMap.begin(), editor.Buffers.PaintMap.end(), 1);
    const ColorMatch background(editor.Settings, editor.Settings.BackColor);
    const PackedColor fore = editor.Settings.ForeColor;
    const int w = editor.Image.Width;
    auto at = [w](int cx, int cy) { return static_cast<std::size_t>(cy) * w + cx; };
    SpanFlood(
        editor.Buffers, w, editor.Image.Height, x, y,
        [&](int cx, int cy) {
            return unvisited[at(cx, cy)] != 0 && editor.Selection.IsSelected(cx, cy) &&
                   !background(editor.Image.PixelAddress(cx, cy));
        },
        [&](int cx, int cy) {
            unvisited[at(cx, cy)] = 0;
            WritePixel(editor.Image.PixelAddress(cx, cy), fore);
        },
        [&](int cx, int cy) { return unvisited[at(cx, cy)] == 0; });
}

// Replacements started outside the selection do nothing, as fills do.
void ReplaceColorEverywhere(Editor& editor, int x, int y)
{
    if (!editor.Selection.IsSelected(x, y))
        return;
    const ColorMatch matches(editor.Settings, editor.Image.Pixel(x, y));
    ReplaceWhere(editor, [&](const std::uint8_t* p) { return matches(p); });
}

void ReplaceAllButColor(Editor& editor, int x, int y)
{
    if (!editor.Selection.IsSelected(x, y))
        return;
    const ColorMatch matches(editor.Settings, editor.Image.Pixel(x, y));
    ReplaceWhere(editor, [&](const std::uint8_t* p) { return !matches(p); });
}

} // namespace krt
