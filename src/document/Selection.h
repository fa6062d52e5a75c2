#pragma once

#include "core/FastBMP.h"

#include <cstdint>
#include <vector>

namespace krt {

struct SelectionBounds {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// The one selection: which pixels are selected (the mask, one byte a pixel),
// their bounding rectangle, and the floating block when the move tool has
// lifted them. The block (FloatingPixels) holds the selected pixels of the
// rectangle and KeyColor in its empty cells; it floats moved by the offset.
class Selection {
public:
    TFastBMP FloatingPixels;
    SelectionBounds SelectionRect;
    int SelectionOffsetX = 0; // how far the floating block (and the outline) moved from SelectionRect
    int SelectionOffsetY = 0;
    bool FloatingText = false; // the floating block is placed text: Transparency applies to it
    bool SoftMask = false;     // the mask holds smoothing weights 0 ... 10 (smoothed text)
    // Row y of the picture at offset y * width; non-zero where selected.
    std::vector<std::uint8_t> SelectionMask;

    bool HasSelection() const { return active; }
    // Something is selected within `rect`; the block has not moved.
    void Select(SelectionBounds rect)
    {
        active = true;
        SelectionRect = rect;
        ResetOffset();
    }
    // Nothing is selected (the mask keeps its contents).
    void Deselect() { active = false; }
    void ResetOffset() { SelectionOffsetX = SelectionOffsetY = 0; }

    // Sizes the mask for a picture of width x height, all unselected, and
    // drops the selection and its flags.
    void Allocate(int width, int height);
    // Gives the mask's memory back; nothing is selected.
    void Release();
    void ClearMask();
    std::uint8_t* MaskRow(int y) { return SelectionMask.data() + static_cast<std::size_t>(y) * maskWidth; }
    const std::uint8_t* MaskRow(int y) const { return SelectionMask.data() + static_cast<std::size_t>(y) * maskWidth; }
    // Whether (x, y) is selected; without a selection every pixel is.
    bool IsSelected(int x, int y) const { return !active || MaskRow(y)[x] != 0; }
    // The selection becomes the bounding box of the set mask cells, not
    // moved; with none set nothing is selected. Returns whether something is.
    bool SelectMaskBounds();

private:
    bool active = false;
    int maskWidth = 0;
    int maskHeight = 0;
};

} // namespace krt
