#include "paint/Brushes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace krt {
namespace {

// The circles of the sizes the size list offers, as row runs top to bottom.
std::vector<int> DrawnCircle(int size)
{
    switch (size) {
    case 1: return {1};
    case 2: return {2, 2};
    case 3: return {1, 3, 1};
    case 4: return {2, 4, 4, 2};
    case 5: return {3, 5, 5, 5, 3};
    case 6: return {4, 6, 6, 6, 6, 4};
    case 7: return {3, 5, 7, 7, 7, 5, 3};
    case 8: return {4, 6, 8, 8, 8, 8, 6, 4};
    case 9: return {3, 5, 7, 9, 9, 9, 7, 5, 3};
    case 10: return {4, 6, 8, 10, 10, 10, 10, 8, 6, 4};
    case 20: return {6, 10, 14, 16, 16, 18, 18, 20, 20, 20, 20, 20, 20, 18, 18, 16, 16, 14, 10, 6};
    case 30:
        return {8,  14, 16, 20, 22, 24, 24, 26, 28, 28, 28, 30, 30, 30, 30,
                30, 30, 30, 30, 28, 28, 28, 26, 24, 24, 22, 20, 16, 14, 8};
    default: return {};
    }
}

// Other sizes: a disc of radius size/2 + 0.3, each row's run the widest of
// the size's parity that fits (this reproduces most of the drawn circles).
std::vector<int> DiscCircle(int size)
{
    std::vector<int> runs;
    const double radius = size / 2.0 + 0.3;
    for (int r = 0; r < size; ++r) {
        const double dy = r - (size - 1) / 2.0;
        int run = static_cast<int>(2 * std::sqrt(std::max(radius * radius - dy * dy, 0.0)));
        if ((run - size) % 2 != 0)
            --run;
        runs.push_back(std::clamp(run, size % 2 != 0 ? 1 : 2, size));
    }
    return runs;
}

BrushMask MakeMask(BrushShape shape, int size)
{
    BrushMask mask;
    mask.size = size;
    std::vector<int> runs =
        shape == BrushShape::Square ? std::vector<int>(static_cast<std::size_t>(size), size) : DrawnCircle(size);
    if (runs.empty())
        runs = DiscCircle(size);
    for (int run : runs) {
        mask.runStart.push_back((size - run) / 2);
        mask.runLength.push_back(run);
    }
    return mask;
}

using MaskTable = std::array<std::array<BrushMask, MaxBrushSize + 1>, 2>;

MaskTable MakeTable()
{
    MaskTable table;
    for (BrushShape shape : {BrushShape::Circle, BrushShape::Square})
        for (int size = 0; size <= MaxBrushSize; ++size)
            table[static_cast<std::size_t>(shape)][static_cast<std::size_t>(size)] = MakeMask(shape, size);
    return table;
}

} // namespace

const BrushMask& BrushFootprint(BrushShape shape, int size)
{
    static const MaskTable table = MakeTable();
    return table[shape == BrushShape::Square ? 1 : 0][static_cast<std::size_t>(std::clamp(size, 0, MaxBrushSize))];
}

} // namespace krt
