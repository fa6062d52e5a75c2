#include "effects/ColorParams.h"

#include "core/ThreadPool.h"

#include <algorithm>
#include <cstdlib>

namespace krt {
namespace {

std::uint8_t Clamp(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

// S(v) = v s >> 8, and T(m) = v - S(v) for the channel sum m = 3v ... 3v + 2.
struct SaturationTables {
    std::array<std::int16_t, 256> s{};
    std::array<std::int16_t, 768> t{};
    explicit SaturationTables(int saturation)
    {
        for (int v = 0; v < 256; ++v)
            s[static_cast<std::size_t>(v)] = static_cast<std::int16_t>((v * saturation) >> 8);
        for (int m = 0; m < 768; ++m)
            t[static_cast<std::size_t>(m)] =
                static_cast<std::int16_t>(m / 3 - s[static_cast<std::size_t>(m / 3)]);
    }
};

ByteTable Identity()
{
    ByteTable t{};
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(v);
    return t;
}

// Saturation with the byte table `after` applied to its results.
void SaturateThrough(TFastBMP& buffer, int s, const ByteTable& after)
{
    const SaturationTables tables(s);
    ParallelRows(buffer.Height, ThreadPool::Count(0), [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            std::uint8_t* p = buffer.RowTable[static_cast<std::size_t>(y)];
            for (int x = 0; x < buffer.Width; ++x, p += 3) {
                const int t = tables.t[static_cast<std::size_t>(p[0] + p[1] + p[2])];
                p[0] = after[Clamp(tables.s[p[0]] + t)];
                p[1] = after[Clamp(tables.s[p[1]] + t)];
                p[2] = after[Clamp(tables.s[p[2]] + t)];
            }
        }
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

void Saturation(TFastBMP& buffer, int s) { SaturateThrough(buffer, s, Identity()); }

void Lightness(TFastBMP& buffer, int l)
{
    const ByteTable t = LightnessTable(l);
    ApplyChannelTables(buffer, buffer, t, t, t);
}

void Contrast(TFastBMP& buffer, int k)
{
    const ByteTable t = ContrastTable(k);
    ApplyChannelTables(buffer, buffer, t, t, t);
}

void ApplyColorParams(TFastBMP& buffer, int s, int l, int k)
{
    // Lightness and contrast are byte tables, so they fold into one table
    // applied to the saturated bytes.
    const ByteTable light = LightnessTable(l), contrast = ContrastTable(k);
    ByteTable both{};
    for (std::size_t v = 0; v < 256; ++v)
        both[v] = contrast[light[v]];
    SaturateThrough(buffer, s, both);
}

} // namespace krt
