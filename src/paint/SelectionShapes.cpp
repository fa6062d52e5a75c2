#include "paint/SelectionShapes.h"

#include "paint/RasterLine.h"
#include "paint/SameColor.h"
#include "paint/SpanFlood.h"

#include <algorithm>
#include <cstring>

namespace krt {

void SetRectSelection(Editor& editor, int ax, int ay, int bx, int by)
{
    if (ax == bx || ay == by) {
        editor.Selection.Deselect();
        return;
    }
    const int x0 = std::clamp(std::min(ax, bx), 0, editor.Image.Width - 1);
    const int x1 = std::clamp(std::max(ax, bx), 0, editor.Image.Width - 1);
    const int y0 = std::clamp(std::min(ay, by), 0, editor.Image.Height - 1);
    const int y1 = std::clamp(std::max(ay, by), 0, editor.Image.Height - 1);
    editor.Selection.ClearMask();
    for (int y = y0; y <= y1; ++y)
        std::memset(editor.Selection.MaskRow(y) + x0, 1, static_cast<std::size_t>(x1 - x0 + 1));
    editor.Selection.Select({x0, y0, x1 - x0 + 1, y1 - y0 + 1});
}

void SelectAll(Editor& editor)
{
    // Also for a picture one pixel wide or high, where the two corners share
    // a column or a row.
    std::fill(editor.Selection.SelectionMask.begin(), editor.Selection.SelectionMask.end(), 1);
    editor.Selection.Select({0, 0, editor.Image.Width, editor.Image.Height});
}

void SelectSameColor(Editor& editor, int x, int y)
{
    editor.Selection.ClearMask();
    const ColorMatch matches(editor.Settings, editor.Image.Pixel(x, y));
    int left = x, right = x, top = y, bottom = y;
    SpanFlood(
        editor.Buffers, editor.Image.Width, editor.Image.Height, x, y,
        [&](int cx, int cy) {
            return editor.Selection.MaskRow(cy)[cx] == 0 && matches(editor.Image.PixelAddress(cx, cy));
        },
        [&](int cx, int cy) {
            editor.Selection.MaskRow(cy)[cx] = 1;
            left = std::min(left, cx);
            right = std::max(right, cx);
            top = std::min(top, cy);
            bottom = std::max(bottom, cy);
        },
        [&](int cx, int cy) { return editor.Selection.MaskRow(cy)[cx] != 0; });
    editor.Selection.Select({left, top, right - left + 1, bottom - top + 1});
}

void BeginFreeHand(Editor& editor)
{
    std::fill(editor.Selection.SelectionMask.begin(), editor.Selection.SelectionMask.end(), 1);
    editor.Selection.Deselect();
}

void FreeHandPath(Editor& editor, int x0, int y0, int x1, int y1)
{
    RasterLine(editor.Image.Width, editor.Image.Height, x0, y0, x1, y1, [&](int x, int y) {
        if (x >= 1 && y >= 1)
            editor.Selection.MaskRow(y)[x] = 2;
    });
}

void FreeHandClose(Editor& editor)
{
    const int w = editor.Image.Width, h = editor.Image.Height;
    // Clears the outside: every cell still holding 1 that connects to the
    // border. Each flood empties a whole region, so no flood meets the cells
    // an earlier one emptied.
    auto flood = [&](int x, int y) {
        SpanFlood(
            editor.Buffers, w, h, x, y, [&](int cx, int cy) { return editor.Selection.MaskRow(cy)[cx] == 1; },
            [&](int cx, int cy) { editor.Selection.MaskRow(cy)[cx] = 0; },
            [&](int cx, int cy) { return editor.Selection.MaskRow(cy)[cx] == 0; });
    };
    for (int x = 0; x < w; ++x)
        flood(x, 0);
    for (int x = 0; x < w; ++x)
        flood(x, h - 1);
    for (int y = 0; y < h; ++y)
        flood(0, y);
    for (int y = 0; y < h; ++y)
        flood(w - 1, y);
    editor.Selection.SelectMaskBounds();
}

bool InvertSelection(Editor& editor)
{
    if (!editor.Selection.HasSelection())
        SelectAll(editor);
    for (std::uint8_t& cell : editor.Selection.SelectionMask)
        cell = cell == 0 ? 1 : 0;
    if (!editor.Selection.SelectMaskBounds()) {
        editor.Selection.FloatingPixels.Allocate(1, 1);
        return false;
    }
    editor.Selection.FloatingPixels.Allocate(editor.Selection.SelectionRect.w, editor.Selection.SelectionRect.h);
    return true;
}

} // namespace krt
