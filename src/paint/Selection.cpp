#include "paint/Selection.h"

#include "paint/RasterLine.h"
#include "paint/SameColor.h"
#include "paint/SpanFlood.h"

#include <algorithm>
#include <cstring>

namespace krt {
namespace {

std::uint8_t* MaskRow(Editor& editor, int y)
{
    return editor.buffers.SelectionMask.data() + static_cast<std::size_t>(y) * editor.Image.Width;
}

// The selection becomes the bounding box of the set mask cells; with none
// set there is no selection. Returns whether one exists.
bool SelectBoundingBox(Editor& editor)
{
    const int w = editor.Image.Width, h = editor.Image.Height;
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = MaskRow(editor, y);
        const auto* first = std::find_if(row, row + w, [](std::uint8_t m) { return m != 0; });
        if (first == row + w)
            continue;
        const auto last = std::find_if(std::make_reverse_iterator(row + w), std::make_reverse_iterator(row),
                                        [](std::uint8_t m) { return m != 0; });
        left = std::min(left, static_cast<int>(first - row));
        right = std::max(right, static_cast<int>(last.base() - row) - 1);
        top = std::min(top, y);
        bottom = y;
    }
    editor.SelectionOffsetX = editor.SelectionOffsetY = 0;
    editor.HasSelection = right >= 0;
    editor.SelectionRect = editor.HasSelection ? SelectionBounds{left, top, right - left + 1, bottom - top + 1}
                                               : SelectionBounds{};
    return editor.HasSelection;
}

} // namespace

void SetRectSelection(Editor& editor, int ax, int ay, int bx, int by)
{
    if (ax == bx || ay == by) {
        editor.HasSelection = false;
        return;
    }
    const int x0 = std::clamp(std::min(ax, bx), 0, editor.Image.Width - 1);
    const int x1 = std::clamp(std::max(ax, bx), 0, editor.Image.Width - 1);
    const int y0 = std::clamp(std::min(ay, by), 0, editor.Image.Height - 1);
    const int y1 = std::clamp(std::max(ay, by), 0, editor.Image.Height - 1);
    editor.HasSelection = true;
    std::fill(editor.buffers.SelectionMask.begin(), editor.buffers.SelectionMask.end(), 0);
    for (int y = y0; y <= y1; ++y)
        std::memset(MaskRow(editor, y) + x0, 1, static_cast<std::size_t>(x1 - x0 + 1));
    editor.SelectionRect = {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    editor.SelectionOffsetX = editor.SelectionOffsetY = 0;
}

void SelectAll(Editor& editor)
{
    // Also for a picture one pixel wide or high, where the two corners share
    // a column or a row.
    std::fill(editor.buffers.SelectionMask.begin(), editor.buffers.SelectionMask.end(), 1);
    editor.HasSelection = true;
    editor.SelectionRect = {0, 0, editor.Image.Width, editor.Image.Height};
    editor.SelectionOffsetX = editor.SelectionOffsetY = 0;
}

void SelectSameColor(Editor& editor, int x, int y)
{
    editor.HasSelection = true;
    std::fill(editor.buffers.SelectionMask.begin(), editor.buffers.SelectionMask.end(), 0);
    const ColorMatch matches(editor.settings, editor.Image.Pixel(x, y));
    int left = x, right = x, top = y, bottom = y;
    SpanFlood(
        editor.buffers, editor.Image.Width, editor.Image.Height, x, y,
        [&](int cx, int cy) { return MaskRow(editor, cy)[cx] == 0 && matches(editor.Image.PixelAddress(cx, cy)); },
        [&](int cx, int cy) {
            MaskRow(editor, cy)[cx] = 1;
            left = std::min(left, cx);
            right = std::max(right, cx);
            top = std::min(top, cy);
            bottom = std::max(bottom, cy);
        },
        [&](int cx, int cy) { return MaskRow(editor, cy)[cx] != 0; });
    editor.SelectionRect = {left, top, right - left + 1, bottom - top + 1};
    editor.SelectionOffsetX = editor.SelectionOffsetY = 0;
}

void BeginFreeHand(Editor& editor)
{
    std::fill(editor.buffers.SelectionMask.begin(), editor.buffers.SelectionMask.end(), 1);
    editor.HasSelection = false;
}

void FreeHandPath(Editor& editor, int x0, int y0, int x1, int y1)
{
    RasterLine(editor.Image.Width, editor.Image.Height, x0, y0, x1, y1, [&](int x, int y) {
        if (x >= 1 && y >= 1)
            MaskRow(editor, y)[x] = 2;
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
            editor.buffers, w, h, x, y, [&](int cx, int cy) { return MaskRow(editor, cy)[cx] == 1; },
            [&](int cx, int cy) { MaskRow(editor, cy)[cx] = 0; },
            [&](int cx, int cy) { return MaskRow(editor, cy)[cx] == 0; });
    };
    for (int x = 0; x < w; ++x)
        flood(x, 0);
    for (int x = 0; x < w; ++x)
        flood(x, h - 1);
    for (int y = 0; y < h; ++y)
        flood(0, y);
    for (int y = 0; y < h; ++y)
        flood(w - 1, y);
    SelectBoundingBox(editor);
}

bool InvertSelection(Editor& editor)
{
    if (!editor.HasSelection)
        SelectAll(editor);
    for (std::uint8_t& cell : editor.buffers.SelectionMask)
        cell = cell == 0 ? 1 : 0;
    if (!SelectBoundingBox(editor)) {
        editor.FloatingPixels.Allocate(1, 1);
        return false;
    }
    editor.FloatingPixels.Allocate(editor.SelectionRect.w, editor.SelectionRect.h);
    return true;
}

} // namespace krt
