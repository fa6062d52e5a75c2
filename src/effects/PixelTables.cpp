#include "effects/PixelTables.h"

#include "core/ThreadPool.h"
#include "effects/PixelKernels.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace krt {
namespace pixels {
namespace {

void PlainChannelTables(const std::uint8_t* s, std::uint8_t* d, int bytes, const std::uint8_t* blue,
                        const std::uint8_t* green, const std::uint8_t* red)
{
    int i = 0;
    // Four pixels (twelve bytes) are read and written as three words.
    for (; i + 12 <= bytes; i += 12) {
        std::uint32_t in[3];
        std::memcpy(in, s + i, 12);
        std::uint32_t out[3];
        out[0] = blue[in[0] & 0xFF] | green[(in[0] >> 8) & 0xFF] << 8 | red[(in[0] >> 16) & 0xFF] << 16 |
                 static_cast<std::uint32_t>(blue[in[0] >> 24]) << 24;
        out[1] = green[in[1] & 0xFF] | red[(in[1] >> 8) & 0xFF] << 8 | blue[(in[1] >> 16) & 0xFF] << 16 |
                 static_cast<std::uint32_t>(green[in[1] >> 24]) << 24;
        out[2] = red[in[2] & 0xFF] | blue[(in[2] >> 8) & 0xFF] << 8 | green[(in[2] >> 16) & 0xFF] << 16 |
                 static_cast<std::uint32_t>(red[in[2] >> 24]) << 24;
        std::memcpy(d + i, out, 12);
    }
    for (; i < bytes; i += 3) {
        d[i] = blue[s[i]];
        d[i + 1] = green[s[i + 1]];
        d[i + 2] = red[s[i + 2]];
    }
}

void PlainSaturation(std::uint8_t* p, int count, int s, const std::uint8_t* after)
{
    for (int x = 0; x < count; ++x, p += 3) {
        const int g = (p[0] + p[1] + p[2]) / 3;
        const int t = g - ((g * s) >> 8);
        for (int c = 0; c < 3; ++c)
            p[c] = after[std::clamp(((p[c] * s) >> 8) + t, 0, 255)];
    }
}

} // namespace

const Kernels& PlainKernels()
{
    static const Kernels kernels{"plain", PlainChannelTables, PlainSaturation};
    return kernels;
}

const Kernels& BestKernels()
{
    static const bool vbmi = __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw") &&
                             __builtin_cpu_supports("avx512vl") && !std::getenv("KRT_NO_AVX512");
    return vbmi ? Avx512Kernels() : PlainKernels();
}

} // namespace pixels

void ApplyChannelTables(TFastBMP& destination, const TFastBMP& source, const ByteTable& blue, const ByteTable& green,
                        const ByteTable& red, int threads)
{
    const pixels::ChannelTablesRow row = pixels::BestKernels().channelTables;
    ParallelRows(source.Height, ThreadPool::Count(threads), [&](int from, int to) {
        for (int y = from; y < to; ++y)
            row(source.RowTable[static_cast<std::size_t>(y)], destination.RowTable[static_cast<std::size_t>(y)],
                3 * source.Width, blue.data(), green.data(), red.data());
    });
}

} // namespace krt
