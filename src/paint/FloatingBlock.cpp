#include "paint/FloatingBlock.h"

#include "paint/View.h"

#include <algorithm>
#include <cstring>

namespace krt {
namespace {

// The selection rectangle clipped to the image.
void ClipSelectionRect(Editor& editor)
{
    SelectionBounds& r = editor.selection.SelectionRect;
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
    const int qx = x - editor.selection.SelectionOffsetX, qy = y - editor.selection.SelectionOffsetY;
    if (qx <= 0 || qy <= 0 || qx >= editor.Image.Width || qy >= editor.Image.Height)
        return false;
    const SelectionBounds& r = editor.selection.SelectionRect;
    return editor.selection.HasSelection() && r.x <= qx && qx <= r.x + r.w && r.y <= qy && qy <= r.y + r.h;
}

void CopySelectionToFloating(Editor& editor)
{
    ClipSelectionRect(editor);
    const SelectionBounds& r = editor.selection.SelectionRect;
    editor.selection.FloatingPixels.Allocate(std::max(r.w, 1), std::max(r.h, 1));
    const int w = editor.Image.Width;
    for (int j = 0; j < r.h; ++j)
        for (int k = 0; k < r.w; ++k) {
            const int x = r.x + k, y = r.y + j;
            const bool selected = editor.selection.SelectionMask[static_cast<std::size_t>(y) * w + x] != 0;
            editor.selection.FloatingPixels.SetPixel(k, j, selected ? editor.Image.Pixel(x, y) : KeyColor);
        }
}

void LiftSelection(Editor& editor)
{
    if (!editor.selection.HasSelection())
        return;
    CopySelectionToFloating(editor);
    editor.selection.ResetOffset();
    editor.BackupImage.CopyFrom(editor.Image);
    const SelectionBounds& r = editor.selection.SelectionRect;
    const int w = editor.Image.Width;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (editor.selection.SelectionMask[static_cast<std::size_t>(y) * w + x] != 0)
                editor.BackupImage.SetPixel(x, y, editor.settings.BackColor);
}

void RenderFloating(Editor& editor)
{
    const TFastBMP& block = editor.selection.FloatingPixels;
    TFastBMP& image = editor.Image;
    const SelectionBounds& r = editor.selection.SelectionRect;
    const int ox = r.x + editor.selection.SelectionOffsetX, oy = r.y + editor.selection.SelectionOffsetY;
    const int d = editor.selection.FloatingText ? std::clamp(editor.settings.Transparency, 0, 100) : 0;
    const int e = 100 - d;
    const int rows = std::min(r.h, block.Height), columns = std::min(r.w, block.Width);
    for (int j = std::max(0, -oy); j < rows && oy + j < image.Height; ++j) {
        const std::uint8_t* weights =
            editor.selection.SelectionMask.data() + static_cast<std::size_t>(j) * image.Width;
        for (int k = std::max(0, -ox); k < columns && ox + k < image.Width; ++k) {
            const std::uint8_t* f = block.PixelAddress(k, j);
            std::uint8_t* p = image.PixelAddress(ox + k, oy + j);
            if (editor.selection.SoftMask) {
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
    editor.selection.SelectionOffsetX += toX - fromX;
    editor.selection.SelectionOffsetY += toY - fromY;
    std::fill(editor.view.ViewFrameMap.begin(), editor.view.ViewFrameMap.end(), 0);
    std::fill(editor.view.PreviewFrameMap.begin(), editor.view.PreviewFrameMap.end(), 0);
    RestoreImageFromBackup(editor);
    RenderFloating(editor);
    BuildPreviewOutline(editor);
}

bool DropFloating(Editor& editor)
{
    const bool text = editor.selection.FloatingText;
    if (text) {
        editor.selection.Deselect();
        editor.selection.FloatingText = false;
    }
    editor.selection.SoftMask = false;
    const int dx = editor.selection.SelectionOffsetX, dy = editor.selection.SelectionOffsetY;
    if (dx != 0 || dy != 0) {
        ++editor.document.ModifiedCount;
        // The mask follows the block; the stroke coverage map is free between
        // strokes and holds the old mask meanwhile.
        const int w = editor.Image.Width, h = editor.Image.Height;
        std::vector<std::uint8_t>& mask = editor.selection.SelectionMask;
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
        SelectionBounds& r = editor.selection.SelectionRect;
        // A block dropped wholly off the picture leaves nothing selected.
        if (r.x + dx >= w || r.y + dy >= h || r.x + dx + r.w <= 0 || r.y + dy + r.h <= 0)
            editor.selection.Deselect();
        r.x = std::max(0, r.x + dx);
        r.y = std::max(0, r.y + dy);
        editor.selection.ResetOffset();
    }
    BuildViewOutline(editor);
    BuildPreviewOutline(editor);
    return text;
}

void FloatBlock(Editor& editor, TFastBMP&& block, const std::vector<std::uint8_t>& weights, int x, int y,
                BlockKind kind)
{
    Selection& s = editor.selection;
    const int w = block.Width;
    s.FloatingPixels = std::move(block);
    s.ClearMask();
    for (int r = 0; r < std::min(s.FloatingPixels.Height, editor.Image.Height); ++r)
        std::memcpy(s.MaskRow(r), weights.data() + static_cast<std::size_t>(r) * w,
                    static_cast<std::size_t>(std::min(w, editor.Image.Width)));
    s.Select({0, 0, s.FloatingPixels.Width, s.FloatingPixels.Height});
    s.SelectionOffsetX = x;
    s.SelectionOffsetY = y;
    s.FloatingText = kind != BlockKind::Picture;
    s.SoftMask = kind == BlockKind::SmoothedText;
    editor.BackupImage.CopyFrom(editor.Image);
    RenderFloating(editor);
}

} // namespace krt
