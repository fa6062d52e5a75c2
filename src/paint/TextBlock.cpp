#include "paint/TextBlock.h"

#include "document/Undo.h"
#include "paint/FloatingBlock.h"

#include <algorithm>

namespace krt {

TextLayout LayOutText(const std::vector<int>& widths, const std::vector<int>& heights, TextAlign align, int spacing)
{
    TextLayout layout;
    layout.width = widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
    int y = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int free = layout.width - widths[i];
        layout.left.push_back(align == TextAlign::Left ? 0 : align == TextAlign::Center ? free / 2 : free);
        layout.top.push_back(y);
        y += heights[i] + spacing;
    }
    layout.height = y - spacing;
    return layout;
}

void PlaceText(Editor& editor, const TextInk& ink, ImagePoint position, bool smoothing)
{
    PushUndo(editor);
    const int w = ink.width, h = ink.height;
    auto inked = [&](int r, int c) { return ink.cells[static_cast<std::size_t>(r) * w + c] != 0; };
    TFastBMP block(w, h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            block.SetPixel(c, r, inked(r, c) ? editor.Settings.ForeColor : KeyColor);
    // Smoothing weighs each cell in tenths: twice its own ink plus the ink
    // of its eight neighbours, so inner text is opaque and the rim fades.
    std::vector<std::uint8_t> weights(static_cast<std::size_t>(w) * h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            int weight = inked(r, c) ? 1 : 0;
            if (smoothing) {
                weight *= 2;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc)
                        if ((dr != 0 || dc != 0) && r + dr >= 0 && r + dr < h && c + dc >= 0 && c + dc < w)
                            weight += inked(r + dr, c + dc) ? 1 : 0;
            }
            weights[static_cast<std::size_t>(r) * w + c] = static_cast<std::uint8_t>(weight);
        }
    FloatBlock(editor, std::move(block), weights, position.x, position.y,
               smoothing ? BlockKind::SmoothedText : BlockKind::Text);
}

} // namespace krt
