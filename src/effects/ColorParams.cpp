#include "effects/ColorParams.h"

#include "core/ThreadPool.h"
#include "effects/PixelKernels.h"

#include <algorithm>
#include <cstdlib>

namespace krt {
namespace {

std::uint8_t Clamp(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

ByteTable Identity()
{
    ByteTable t{};
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(v);
    return t;
}

// Saturation with the byte table `after` applied to its results.
void SaturateThrough(TFastBMP& buffer, int s, const ByteTable& after, int threads)
{
    const pixels::SaturationRow row = pixels::BestKernels().saturation;
    ParallelRows(buffer.Height, ThreadPool::Count(threads), [&](int from, int to) {
        for (int y = from; y < to; ++y)
            row(buffer.RowTable[static_cast<std::size_t>(y)], buffer.Width, s, after.data());
    });
}

} // namespace

ByteTable LightnessTable(int l)
{
    ByteTable t{};
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] = Clamp(v + (((255 - v) * l) >> 8));
    return t;
}

ByteTable ContrastTable(int k)
{
    ByteTable t{};
    for (int v = 0; v < 256; ++v) {
        const int d = (std::abs(128 - v) * k) >> 8;
        t[static_cast<std::size_t>(v)] = Clamp(v <= 126 ? v - d : v + d);
    }
    return t;
}

void Saturation(TFastBMP& buffer, int s, int threads) { SaturateThrough(buffer, s, Identity(), threads); }

void Lightness(TFastBMP& buffer, int l, int threads)
{
    const ByteTable t = LightnessTable(l);
    ApplyChannelTables(buffer, buffer, t, t, t, threads);
}

void Contrast(TFastBMP& buffer, int k, int threads)
{
    const ByteTable t = ContrastTable(k);
    ApplyChannelTables(buffer, buffer, t, t, t, threads);
}

void ApplyColorParams(TFastBMP& buffer, int s, int l, int k, int threads)
{
    // Lightness and contrast are byte tables, so they fold into one table
    // applied to the saturated bytes.
    const ByteTable light = LightnessTable(l), contrast = ContrastTable(k);
    ByteTable both{};
    for (std::size_t v = 0; v < 256; ++v)
        both[v] = contrast[light[v]];
    SaturateThrough(buffer, s, both, threads);
}

} // namespace krt
