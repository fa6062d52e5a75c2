#pragma once

#include "core/Color.h"
#include "document/Tools.h"

#include <array>
#include <cstdint>

namespace krt {

using PosterizeTable = std::array<std::uint8_t, 256>;

PosterizeTable IdentityPosterizeTable();
// The posterisation table of one channel for a scroll bar position (1 ... 255):
// values below step/2 become 0, then each band of `step` values shows as the
// band's upper end (at most 255).
PosterizeTable MakePosterizeTable(int step);

// The painting settings, one set for the whole run.
struct EditorSettings {
    Tool CurrentTool = Tool::Pencil;
    PackedColor ForeColor = Black;
    PackedColor BackColor = White;
    bool ActiveIsForeground = true;                    // which of the two the colour chooser edits
    krt::BrushMode BrushMode = krt::BrushMode::Normal; // how the brush puts colour down
    krt::BrushShape BrushShape = krt::BrushShape::Circle;
    int BrushSize = 5;
    int Transparency = 0; // percent of the old pixel kept when painting
    PosterizeTable PosterizeR = IdentityPosterizeTable();
    PosterizeTable PosterizeG = IdentityPosterizeTable();
    PosterizeTable PosterizeB = IdentityPosterizeTable();
};

// The foreground and background colours for a window that reads them when it
// needs them, and nothing else of the editor.
class ColorPair {
public:
    explicit ColorPair(const EditorSettings& s) : settings(&s) {}
    PackedColor Fore() const { return settings->ForeColor; }
    PackedColor Back() const { return settings->BackColor; }

private:
    const EditorSettings* settings;
};

// Rebuilds the three posterisation tables from the three bar positions.
void SetPosterize(EditorSettings& settings, int red, int green, int blue);

// The colour that the colour chooser and the picker edit.
PackedColor ActiveColor(const EditorSettings& settings);
void SetActiveColor(EditorSettings& settings, PackedColor color);

} // namespace krt
