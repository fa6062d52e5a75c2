#pragma once

#include "core/FastBMP.h"
#include "paint/EditorSettings.h"

#include <array>
#include <string>

namespace krt {

// The posterisation table of one channel for a scroll bar position (1 ... 255):
// values below step/2 become 0, then each band of `step` values shows as the
// band's upper end (at most 255).
PosterizeTable MakePosterizeTable(int step);
// Rebuilds the three tables from the three bar positions.
void SetPosterize(EditorSettings& settings, int red, int green, int blue);

// The colour that the colour chooser and the picker edit.
PackedColor ActiveColor(const EditorSettings& settings);
void SetActiveColor(EditorSettings& settings, PackedColor color);

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

// The brush size list: an integer, 0 below 0 and 49 above 48. Throws KrtError.
int ParseBrushSize(const std::string& text);
// The transparency list: "%" is appended when missing (to `text`); the
// number is kept within 0 ... 100 (beyond 100 the blending formulas leave the
// byte range). Throws KrtError for text that is not a number.
int ParseTransparency(std::string& text);

// Which option groups of the options window a tool uses.
enum ToolOptions : unsigned {
    OptionType = 1,
    OptionTransparency = 2,
    OptionSize = 4,
    OptionShape = 8,
    OptionsAll = 15,
    OptionsNone = 0,
};

// Tool numbers (CurrentTool) the rest of the editor tests for.
constexpr int ToolCount = 14;
constexpr int PencilTool = 1;
constexpr int EraserTool = 3;
constexpr int PickTool = 4;
constexpr int RectangleTool = 9;
constexpr int SameColorSelectTool = 10;
constexpr int FreeHandTool = 11;
constexpr int MoveTool = 12;
constexpr int TextTool = 13;
constexpr int GradientTool = 14;

struct ToolInfo {
    int number;         // CurrentTool
    const char* button; // SpeedButton object name
    unsigned options;   // ToolOptions enabled for it
    int cursor;         // 1 or 2: the custom cursors; 3: the text beam
};
// The tools in palette order (two columns, seven rows).
const std::array<ToolInfo, ToolCount>& Tools();
const ToolInfo& Tool(int number);

} // namespace krt
