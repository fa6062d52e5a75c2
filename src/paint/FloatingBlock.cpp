#include "paint/FloatingBlock.h"

#include "paint/View.h"

#include <algorithm>
#include <cstring>

namespace krt {
namespace {

// The selection rectangle clipped to the image.
void ClipSelectionRect(Editor& editor)
{
    SelectionBounds& r = editor.Selection.SelectionRect;
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
                    editor.BackupImage.RowTable[static_cast<std::size_t>(y)],
                    static_cast<std::size_t>(3) * editor.Image.Width);
}

} // namespace

bool HitSelection(const Editor& editor, int x, int y)
{
    const int qx = x - editor.Selection.SelectionOffsetX, qy = y - editor.Selection.SelectionOffsetY;
    if (qx <= 0 || qy <= 0 || qx >= editor.Image.Width || qy >= editor.Image.Height)
        return false;
    const SelectionBounds& r = editor.Selection.SelectionRect;
    return editor.Selection.HasSelection() && r.x <= qx && qx <= r.x + r.w && r.y <= qy && qy <= r.y + r.h;
}

void CopySelectionToFloating(Editor& editor)
{
    ClipSelectionRect(editor);
    const SelectionBounds& r = editor.Selection.SelectionRect;
    editor.Selection.FloatingPixels.Allocate(std::max(r.w, 1), std::max(r.h, 1));
    const int w = editor.Image.Width;
    for (int j = 0; j < r.h; ++j)
        for (int k = 0; k < r.w; ++k) {
            const int x = r.x + k, y = r.y + j;
            const bool selected = editor.Selection.SelectionMask[static_cast<std::size_t>(y) * w + x] != 0;
            editor.Selection.FloatingPixels.SetPixel(k, j, selected ? editor.Image.Pixel(x, y) : KeyColor);
        }
}

void LiftSelection(Editor& editor)
{
    if (!editor.Selection.HasSelection())
        return;
    CopySelectionToFloating(editor);
    editor.Selection.ResetOffset();
    editor.BackupImage.CopyFrom(editor.Image);
    const SelectionBounds& r = editor.Selection.SelectionRect;
    const int w = editor.Image.Width;
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (editor.Selection.SelectionMask[static_cast<std::size_t>(y) * w + x] != 0)
                editor.BackupImage.SetPixel(x, y, editor.Settings.BackColor);
}

void RenderFloating(Editor& editor)
{
    const TFastBMP& block = editor.Selection.FloatingPixels;
    TFastBMP& image = editor.Image;
    const SelectionBounds& r = editor.Selection.SelectionRect;
    const int ox = r.x + editor.Selection.SelectionOffsetX, oy = r.y + editor.Selection.SelectionOffsetY;
    const int d = editor.Selection.FloatingText ? std::clamp(editor.Settings.Transparency, 0, 100) : 0;
    const int e = 100 - d;
    const int rows = std::min(r.h, block.Height), columns = std::min(r.w, block.Width);
    for (int j = std::max(0, -oy); j < rows && oy + j < image.Height; ++j) {
        const std::uint8_t* weights = editor.Selection.SelectionMask.data() + static_cast<std::size_t>(j) * image.Width;
        for (int k = std::max(0, -ox); k < columns && ox + k < image.Width; ++k) {
            const std::uint8_t* f = block.PixelAddress(k, j);
            std::uint8_t* p = image.PixelAddress(ox + k, oy + j);
            if (editor.Selection.SoftMask) {
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
    editor.Selection.SelectionOffsetX += toX - fromX;
    editor.Selection.SelectionOffsetY += toY - fromY;
    std::fill(editor.View.ViewFrameMap.begin(), editor.View.ViewFrameMap.end(), 0);
    std::fill(editor.View.PreviewFrameMap.begin(), editor.View.PreviewFrameMap.end(), 0);
    RestoreImageFromBackup(editor);
    RenderFloating(editor);
    BuildPreviewOutline(editor);
}

bool DropFloating(Editor& editor)
{
    const bool text = editor.Selection.FloatingText;
    if (text) {
        editor.Selection.Deselect();
        editor.Selection.FloatingText = false;
    }
    editor.Selection.SoftMask = false;
    const int dx = editor.Selection.SelectionOffsetX, dy = editor.Selection.SelectionOffsetY;
    if (dx != 0 || dy != 0) {
        ++editor.Document.ModifiedCount;
        // The mask follows the block; the stroke coverage map is free between
        // strokes and holds the old mask meanwhile.
        const int w = editor.Image.Width, h = editor.Image.Height;
        std::vector<std::uint8_t>& mask = editor.Selection.SelectionMask;
        std::vector<std::uint8_t>& old = editor.Buffers.PaintMap;
        old.swap(mask);
        std::fill(mask.begin(), mask.end(), 0);
        for (int i = std::max(0, dy); i < std::min(h, h + dy); ++i) {
            const int from = std::max(0, dx), to = std::min(w, w + dx);
            if (from < to)
                std::memcpy(mask.data() + static_cast<std::size_t>(i) * w + from,
                            old.data() + static_cast<std::size_t>(i - dy) * w + (from - dx),
                            static_cast<std::size_t>(to - from));
        }
        SelectionBounds& r = editor.Selection.SelectionRect;
        // A block dropped wholly off the picture leaves nothing selected.
        if (r.x + dx >= w || r.y + dy >= h || r.x + dx + r.w <= 0 || r.y + dy + r.h <= 0)
            editor.Selection.Deselect();
        r.x = std::max(0, r.x + dx);
        r.y = std::max(0, r.y + dy);
        editor.Selection.ResetOffset();
    }
    BuildViewOutline(editor);
    BuildPreviewOutline(editor);
    return text;
}

void FloatBlock(Editor& editor, TFastBMP&& block, const std::vector<std::uint8_t>& weights, int x, int y,
                BlockKind kind)
{
    Selection& s = editor.Selection;
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
