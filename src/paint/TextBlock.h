#pragma once

#include "document/Editor.h"
#include "paint/View.h"

#include <cstdint>
#include <vector>

namespace krt {

enum class TextAlign { Left, Center, Right };

// Where the lines of a text go in its block: each line's left offset and top,
// and the block's size.
struct TextLayout {
    std::vector<int> left;
    std::vector<int> top;
    int width = 0;
    int height = 0;
};

// Lays out lines of the measured widths and heights: aligned within the
// widest line, each followed by `spacing` pixels except the last.
TextLayout LayOutText(const std::vector<int>& widths, const std::vector<int>& heights, TextAlign align, int spacing);
// The spacing box's value taken as points at the font's resolution.
inline int SpacingPixels(int value, int pixelsPerInch) { return value * pixelsPerInch / 72; }

// The drawn text, one byte per cell of the width x height block: non-zero
// where the text left ink.
struct TextInk {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> cells;
};

// Places drawn text as a floating block of the foreground colour with its
// top-left corner at `position`, smoothed at the edges when asked. The caller
// has checked that the block fits the image.
void PlaceText(Editor& editor, const TextInk& ink, ImagePoint position, bool smoothing);

} // namespace krt
