#include "paint/FloatingBlock.h"

#include "paint/View.h"

#include <algorithm>
#include <cstring>

namespace krt {
namespace {

// The selection rectangle clipped to the image.
void ClipSelectionRect(Editor& editor)
{
    SelectionBounds& r = editor.SelectionRect;
    r.w = std::min(r.w, editor.Image.Width - r.x);
    r.h = std::min(r.h, editor.Image.Height - r.y);
}

// The mean colour of the non-empty neighbours of block cell (k, j); false
// when it has none.
bool RimColor(const TFastBMP& block, int k, int j, std::uint8_t* rim)
{
    int sum[3] = {0, 0, 0};
    int count = 0;
    for (int r = std::max(j - 1, 0); r <= std::min(j + 1, block.Height - 1); ++r)
        for (int c = std::max(k - 1, 0); c <= std::min(k + 1, block.Width - 1); ++c) {
            const std::uint8_t* q = block.PixelAddress(c, r);
            if (ReadPixel(q) == KeyColor)
                continue;
            for (int ch = 0; ch < 3; ++ch)
                sum[ch] += q[ch];
            ++count;
        }
    for (int ch = 0; ch < 3 && count > 0; ++ch)
        rim[ch] = static_cast<std::uint8_t>(sum[ch] / count);
    return count > 0;
}

void RestoreImageFromBackup(Editor& editor)
{
    for (int y = 0; y < editor.Image.Height; ++y)
        std::memcpy(editor.Image.RowTable[static_cast<std::size_t>(y)],
                    editor.BackupImage.RowTable[static_cast<std::size_t>(y)], static_cast<std::size_t>(3) * editor.Image.Width);
}

} // namespace

bool HitSelection(const Editor& editor, int x, int y)
{
    const int qx = x - editor.SelectionOffsetX, qy = y - editor.SelectionOffsetY;
    if (qx <= 0 || qy <= 0 || qx >= editor.Image.Width || qy >= editor.Image.Height)
        return false;
    const SelectionBounds& r = editor.SelectionRect;
    return editor.HasSelection && r.x <= qx && qx <= r.x + r.w && r.y <= qy && qy <= r.y + r.h;
}

void CopySelectionToFloating(Editor& editor)
{
    ClipSelectionRect(editor);
    const SelectionBounds& r = editor.SelectionRect;
    editor.FloatingPixels.Allocate(std::max(r.w, 1), std::max(r.h, 1));
    const int w = editor.Image.Width;
    for (int j = 0; j < r.h; ++j)
        for (int k = 0; k < r.w; ++k) {
            const int x = r.x + k, y = r.y + j;
            const bool selected = editor.buffers.SelectionMask[static_cast<std::size_t>(y) * w + x] != 0;
            editor.FloatingPixels.SetPixel(k, j, selected ? editor.Image.Pixel(x, y) : KeyColor);
        }
}

void LiftSelection(Editor& editor)
{
    if (!editor.HasSelection)
        return;
    CopySelectionToFloating(editor);
    editor.SelectionOffsetX = editor.SelectionOffsetY = 0;
    editor.BackupImage.CopyFrom(editor.Image);
    const SelectionBounds& r = editor.SelectionRect;
    const int w = editor.Image.Width;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (editor.buffers.SelectionMask[static_cast<std::size_t>(y) * w + x] != 0)
                editor.BackupImage.SetPixel(x, y, editor.settings.BackColor);
}

void RenderFloating(Editor& editor)
{
    const TFastBMP& block = editor.FloatingPixels;
    TFastBMP& image = editor.Image;
    const SelectionBounds& r = editor.SelectionRect;
    const int ox = r.x + editor.SelectionOffsetX, oy = r.y + editor.SelectionOffsetY;
    const int d = editor.FloatingText ? std::clamp(editor.settings.Transparency, 0, 100) : 0;
    const int e = 100 - d;
    const int rows = std::min(r.h, block.Height), columns = std::min(r.w, block.Width);
    for (int j = std::max(0, -oy); j < rows && oy + j < image.Height; ++j) {
        const std::uint8_t* weights =
            editor.buffers.SelectionMask.data() + static_cast<std::size_t>(j) * image.Width;
        for (int k = std::max(0, -ox); k < columns && ox + k < image.Width; ++k) {
            const std::uint8_t* f = block.PixelAddress(k, j);
            std::uint8_t* p = image.PixelAddress(ox + k, oy + j);
            if (editor.SoftMask) {
                const int m = weights[k];
                if (m == 0)
                    continue;
                std::uint8_t rim[3];
                if (ReadPixel(f) == KeyColor) {
                    // A rim cell fades the colour of the text beside it in,
                    // not the key colour that marks it empty.
                    if (!RimColor(block, k, j, rim))
                        continue;
                    f = rim;
                }
                for (int ch = 0; ch < 3; ++ch)
                    p[ch] = static_cast<std::uint8_t>((m * ((e * f[ch] + d * p[ch]) / 100) + p[ch] * (10 - m)) / 10);
            } else if (ReadPixel(f) != KeyColor) {
                for (int ch = 0; ch < 3; ++ch)
                    p[ch] = static_cast<std::uint8_t>((d * p[ch] + e * f[ch]) / 100);
            }
        }
    }
}

void MoveSelectionBy(Editor& editor, int fromX, int fromY, int toX, int toY)
{
    editor.SelectionOffsetX += toX - fromX;
    editor.SelectionOffsetY += toY - fromY;
    std::fill(editor.view.ViewFrameMap.begin(), editor.view.ViewFrameMap.end(), 0);
    std::fill(editor.view.PreviewFrameMap.begin(), editor.view.PreviewFrameMap.end(), 0);
    RestoreImageFromBackup(editor);
    RenderFloating(editor);
    BuildPreviewOutline(editor);
}

bool DropFloating(Editor& editor)
{
    const bool text = editor.FloatingText;
    if (text) {
        editor.HasSelection = false;
        editor.FloatingText = false;
    }
    editor.SoftMask = false;
    const int dx = editor.SelectionOffsetX, dy = editor.SelectionOffsetY;
    if (dx != 0 || dy != 0) {
        ++editor.document.ModifiedCount;
        // The mask follows the block; the stroke coverage map is free between
        // strokes and holds the old mask meanwhile.
        const int w = editor.Image.Width, h = editor.Image.Height;
        std::vector<std::uint8_t>& mask = editor.buffers.SelectionMask;
        std::vector<std::uint8_t>& old = editor.buffers.PaintMap;
        old.swap(mask);
        std::fill(mask.begin(), mask.end(), 0);
        for (int i = std::max(0, dy); i < std::min(h, h + dy); ++i) {
            const int from = std::max(0, dx), to = std::min(w, w + dx);
            if (from < to)
                std::memcpy(mask.data() + static_cast<std::size_t>(i) * w + from,
                            old.data() + static_cast<std::size_t>(i - dy) * w + (from - dx),
                            static_cast<std::size_t>(to - from));
        }
        SelectionBounds& r = editor.SelectionRect;
        // A block dropped wholly off the picture leaves nothing selected.
        if (r.x + dx >= w || r.y + dy >= h || r.x + dx + r.w <= 0 || r.y + dy + r.h <= 0)
            editor.HasSelection = false;
        r.x = std::max(0, r.x + dx);
        r.y = std::max(0, r.y + dy);
        editor.SelectionOffsetX = editor.SelectionOffsetY = 0;
    }
    BuildViewOutline(editor);
    BuildPreviewOutline(editor);
    return text;
}

void SetFloatingFromBuffer(Editor& editor)
{
    editor.SelectionRect = {0, 0, editor.FloatingPixels.Width, editor.FloatingPixels.Height};
    editor.SelectionOffsetX = editor.SelectionOffsetY = 0;
}

} // namespace krt
