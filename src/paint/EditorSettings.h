#pragma once

#include "core/Color.h"

#include <array>
#include <cstdint>

namespace krt {

using PosterizeTable = std::array<std::uint8_t, 256>;

PosterizeTable IdentityPosterizeTable();

// The painting settings, one set for the whole run.
struct EditorSettings {
    int CurrentTool = 1; // 1 pencil ... 12 move ... 14 gradient
    PackedColor ForeColor = Black;
    PackedColor BackColor = White;
    bool ActiveIsForeground = true; // which of the two the colour chooser edits
    int BrushMode = 0;  // 0 normal, 1 XOR, 2 AND, 3 multiply, 4 blur
    int BrushShape = 0; // 0 circle, 1 square
    int BrushSize = 5;
    int Transparency = 0; // percent of the old pixel kept when painting
    PosterizeTable PosterizeR = IdentityPosterizeTable();
    PosterizeTable PosterizeG = IdentityPosterizeTable();
    PosterizeTable PosterizeB = IdentityPosterizeTable();
};

} // namespace krt
