#include "document/Selection.h"

#include <algorithm>

namespace krt {

void Selection::Allocate(int width, int height)
{
    maskWidth = width;
    maskHeight = height;
    SelectionMask.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    active = false;
    FloatingText = false;
    SoftMask = false;
    ResetOffset();
}

void Selection::Release()
{
    active = false;
    SelectionMask = {};
    maskWidth = maskHeight = 0;
}

void Selection::ClearMask() { std::fill(SelectionMask.begin(), SelectionMask.end(), 0); }

bool Selection::SelectMaskBounds()
{
    int left = maskWidth, right = -1, top = maskHeight, bottom = -1;
    for (int y = 0; y < maskHeight; ++y) {
        const std::uint8_t* row = MaskRow(y);
        const auto* first = std::find_if(row, row + maskWidth, [](std::uint8_t m) { return m != 0; });
        if (first == row + maskWidth)
            continue;
        const auto last = std::find_if(std::make_reverse_iterator(row + maskWidth), std::make_reverse_iterator(row),
                                       [](std::uint8_t m) { return m != 0; });
        left = std::min(left, static_cast<int>(first - row));
        right = std::max(right, static_cast<int>(last.base() - row) - 1);
        top = std::min(top, y);
        bottom = y;
    }
    ResetOffset();
    active = right >= 0;
    SelectionRect = active ? SelectionBounds{left, top, right - left + 1, bottom - top + 1} : SelectionBounds{};
    return active;
}

} // namespace krt
