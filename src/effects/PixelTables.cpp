#include "effects/PixelTables.h"

#include "core/ThreadPool.h"

#include <cstring>

namespace krt {

void ApplyChannelTables(TFastBMP& destination, const TFastBMP& source, const ByteTable& blue, const ByteTable& green,
                        const ByteTable& red)
{
    const int w = source.Width;
    ParallelRows(source.Height, ThreadPool::Count(0), [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            const std::uint8_t* s = source.RowTable[static_cast<std::size_t>(y)];
            std::uint8_t* d = destination.RowTable[static_cast<std::size_t>(y)];
            int x = 0;
            // Four pixels (twelve bytes) are read and written as three words.
            for (; x + 4 <= w; x += 4, s += 12, d += 12) {
                std::uint32_t in[3];
                std::memcpy(in, s, 12);
                std::uint32_t out[3];
                out[0] = blue[in[0] & 0xFF] | green[(in[0] >> 8) & 0xFF] << 8 | red[(in[0] >> 16) & 0xFF] << 16 |
                         static_cast<std::uint32_t>(blue[in[0] >> 24]) << 24;
                out[1] = green[in[1] & 0xFF] | red[(in[1] >> 8) & 0xFF] << 8 | blue[(in[1] >> 16) & 0xFF] << 16 |
                         static_cast<std::uint32_t>(green[in[1] >> 24]) << 24;
                out[2] = red[in[2] & 0xFF] | blue[(in[2] >> 8) & 0xFF] << 8 | green[(in[2] >> 16) & 0xFF] << 16 |
                         static_cast<std::uint32_t>(red[in[2] >> 24]) << 24;
                std::memcpy(d, out, 12);
            }
            for (; x < w; ++x, s += 3, d += 3) {
                d[0] = blue[s[0]];
                d[1] = green[s[1]];
                d[2] = red[s[2]];
            }
        }
    });
}

} // namespace krt
