#include "paint/ColorPanels.h"

#include "core/Integer.h"
#include "core/KrtError.h"

#include <algorithm>

namespace krt {
namespace {

PackedColor Posterized(PackedColor c, const EditorSettings& s)
{
    return PackRGB(s.PosterizeR[static_cast<std::size_t>(RedOf(c))], s.PosterizeG[static_cast<std::size_t>(GreenOf(c))],
                   s.PosterizeB[static_cast<std::size_t>(BlueOf(c))]);
}

void RenderSwatch(TFastBMP& swatch, PackedColor color, const EditorSettings& s)
{
    swatch.Allocate(SwatchSize, SwatchSize);
    const int half = swatch.Width / 2;
    swatch.FillBlock(0, 0, half - 1, swatch.Height - 1, color);
    swatch.FillBlock(half, 0, swatch.Width - 1, swatch.Height - 1, Posterized(color, s));
}

} // namespace

void RenderColorPanels(const EditorSettings& s, ColorPanelImages& images)
{
    RenderSwatch(images.foreSwatch, s.ForeColor, s);
    RenderSwatch(images.backSwatch, s.BackColor, s);
    const PackedColor active = ActiveColor(s);
    for (int channel = 0; channel < 3; ++channel) {
        TFastBMP& bar = images.bars[static_cast<std::size_t>(channel)];
        bar.Allocate(BarWidth, BarHeight);
        const int shift = 16 - 8 * channel; // red, green, blue
        for (int i = 0; i < BarWidth; ++i) {
            const PackedColor c = (active & ~(PackedColor{0xFF} << shift)) | (static_cast<PackedColor>(i) << shift);
            bar.DrawLine(i, 0, i, BarHeight - 1, c);
        }
        images.markers[static_cast<std::size_t>(channel)] = static_cast<int>((active >> shift) & 0xFF);
    }
}

PackedColor GridColor(int index)
{
    static const PackedColor colors[16] = {
        PackRGB(0, 0, 0),       PackRGB(128, 0, 0),   PackRGB(0, 128, 0),   PackRGB(128, 128, 0),
        PackRGB(0, 0, 128),     PackRGB(128, 0, 128), PackRGB(0, 128, 128), PackRGB(192, 192, 192),
        PackRGB(128, 128, 128), PackRGB(255, 0, 0),   PackRGB(0, 255, 0),   PackRGB(255, 255, 0),
        PackRGB(0, 0, 255),     PackRGB(255, 0, 255), PackRGB(0, 255, 255), PackRGB(255, 255, 255),
    };
    return colors[std::clamp(index, 0, 15)];
}

int GridIndex(int x, int width) { return width <= 0 ? 0 : std::clamp(x * 16 / width, 0, 15); }

ChannelEntry ParseChannelText(const std::string& text)
{
    const int value = ParseInteger(text);
    if (value >= 256)
        return {255, "255"};
    return {std::max(value, 0), {}};
}

int ChannelFromBar(int x) { return std::clamp(x, 0, BarWidth - 1); }

} // namespace krt
