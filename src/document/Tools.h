#pragma once

#include <cstdint>

namespace krt {

// The fourteen tools of the palette. The numbers are the tools' stored numbers
// (palette order, two per row).
enum class Tool : std::uint8_t {
    Pencil = 1,
    Brush = 2,
    Eraser = 3,
    Picker = 4,
    FillSameColor = 5,    // fills the one-coloured region
    FillToBackground = 6, // fills up to the background colour
    ReplaceColor = 7,     // replaces the point's colour everywhere
    ReplaceOtherColors = 8,
    RectangleSelect = 9,
    SameColorSelect = 10,
    FreeHandSelect = 11,
    Move = 12, // moves the selection as a floating block
    Text = 13,
    Gradient = 14,
};
constexpr int ToolCount = 14;

constexpr int ToolNumber(Tool tool) { return static_cast<int>(tool); }
// The tool of a stored number 1 ... 14.
constexpr Tool ToolFromNumber(int number) { return static_cast<Tool>(number); }

// How a brush puts colour down; the numbers are the options list's order.
enum class BrushMode : std::uint8_t { Normal = 0, Xor = 1, And = 2, Multiply = 3, Blur = 4 };
constexpr int BrushModeCount = 5;
// The brush footprint; the numbers are the options list's order.
enum class BrushShape : std::uint8_t { Circle = 0, Square = 1 };

} // namespace krt
