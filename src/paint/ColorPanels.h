#pragma once

#include "core/FastBMP.h"
#include "document/EditorSettings.h"

#include <array>
#include <string>

namespace krt {

// What the colour panels show for the current settings.
struct ColorPanelImages {
    TFastBMP foreSwatch; // left half the colour, right half as posterised
    TFastBMP backSwatch;
    std::array<TFastBMP, 3> bars; // R, G, B: column i shows the active colour with that channel = i
    std::array<int, 3> markers{}; // the active colour's R, G and B: where the triangles point
};

constexpr int SwatchSize = 39;
constexpr int BarWidth = 255;
constexpr int BarHeight = 9;

void RenderColorPanels(const EditorSettings& settings, ColorPanelImages& images);

// The 16 colours of the chooser's grid, left to right.
PackedColor GridColor(int index);
// The grid cell under a press at x on a grid `width` pixels wide.
int GridIndex(int x, int width);

// A channel typed into the chooser: its value, and the text the box must show
// instead when it was above 255 (empty when it stands). Throws KrtError for
// text that is not a number.
struct ChannelEntry {
    int value;
    std::string correctedText;
};
ChannelEntry ParseChannelText(const std::string& text);
// A bar or marker strip pressed at x: the channel value under the pointer.
int ChannelFromBar(int x);

} // namespace krt
