#pragma once

#include "document/Tools.h"

#include <vector>

namespace krt {

constexpr int MaxBrushSize = 49;

// A brush footprint: size x size cells, each row one centred run of set cells
// (circles) or all set (squares).
struct BrushMask {
    int size = 0;
    std::vector<int> runStart;  // first set column of each row
    std::vector<int> runLength; // number of set cells in each row

    bool Cell(int row, int column) const
    {
        return column >= runStart[static_cast<std::size_t>(row)] &&
               column < runStart[static_cast<std::size_t>(row)] + runLength[static_cast<std::size_t>(row)];
    }
};

// The footprint of a shape and size 0 ... 49. Sizes above 49 use 49.
const BrushMask& BrushFootprint(BrushShape shape, int size);

} // namespace krt
