#include "effects/Emboss.h"

#include "core/ThreadPool.h"

#include <cstring>
#include <vector>

namespace krt {
namespace {

// out = (in + 255 - partner) >> 1 for a row, partner read from `above` one
// pixel to the right (the last pixel pairs with its own column).
void EmbossRow(std::uint8_t* row, const std::uint8_t* above, int width)
{
    const int bytes = 3 * width;
    const int paired = 3 * (width - 1);
    for (int i = 0; i < paired; ++i)
        row[i] = static_cast<std::uint8_t>((row[i] + 255 - above[i + 3]) >> 1);
    for (int i = paired; i < bytes; ++i)
        row[i] = static_cast<std::uint8_t>((row[i] + 255 - above[i]) >> 1);
}

} // namespace

void Emboss(TFastBMP& buffer)
{
    const int w = buffer.Width, h = buffer.Height;
    if (w == 0 || h == 0)
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(3) * w;
    const int slices = std::min(ThreadPool::Count(0), h);
    // Each slice works from its bottom row upward, reading the row above it
    // before that row is written. The row just above a slice belongs to the
    // slice before, and the top row pairs with the bottom row: those rows are
    // saved before any slice starts.
    std::vector<std::vector<std::uint8_t>> saved(static_cast<std::size_t>(slices));
    auto first = [&](int s) { return static_cast<int>(static_cast<long>(h) * s / slices); };
    for (int s = 0; s < slices; ++s) {
        const int partnerRow = s == 0 ? h - 1 : first(s) - 1;
        const std::uint8_t* p = buffer.RowTable[static_cast<std::size_t>(partnerRow)];
        saved[static_cast<std::size_t>(s)].assign(p, p + rowBytes);
    }
    ParallelRows(slices, slices, [&](int from, int to) {
        for (int s = from; s < to; ++s) {
            const int top = first(s), bottom = first(s + 1) - 1;
            for (int y = bottom; y > top; --y)
                EmbossRow(buffer.RowTable[static_cast<std::size_t>(y)],
                          buffer.RowTable[static_cast<std::size_t>(y - 1)], w);
            EmbossRow(buffer.RowTable[static_cast<std::size_t>(top)], saved[static_cast<std::size_t>(s)].data(), w);
        }
    });
}

} // namespace krt
