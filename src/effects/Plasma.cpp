#include "effects/Plasma.h"

#include "core/ThreadPool.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace krt {
namespace {

// The height field lives in the red byte of each pixel while it grows.
class Heights {
public:
    Heights(TFastBMP& t, int roughness, std::uint32_t seed) : target(t), r(roughness), random(seed) {}

    std::uint8_t& At(int x, int y) { return target.PixelAddress(x, y)[2]; }

    void Midpoint(int x1, int y1, int x2, int y2)
    {
        const int mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
        if (At(mx, my) != 0)
            return;
        const int d = static_cast<int>(std::sqrt(static_cast<double>((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1))));
        const int s = d * r / 4;
        const int average = (At(x1, y1) + At(x2, y2)) / 2;
        const int g = s > 0 ? static_cast<int>(random.Next() % static_cast<std::uint32_t>(s)) : 0;
        At(mx, my) = static_cast<std::uint8_t>(std::clamp(average + g - s / 2, 1, 255));
    }

    // The subdivision, depth first in the order the rectangles are split.
    void Subdivide(int x1, int y1, int x2, int y2)
    {
        struct Rect {
            int x1, y1, x2, y2;
        };
        std::vector<Rect> pending{{x1, y1, x2, y2}};
        while (!pending.empty()) {
            const Rect c = pending.back();
            pending.pop_back();
            const int mx = (c.x1 + c.x2) / 2, my = (c.y1 + c.y2) / 2;
            Midpoint(c.x1, c.y1, c.x2, c.y1);
            Midpoint(c.x1, c.y1, c.x1, c.y2);
            Midpoint(c.x2, c.y1, c.x2, c.y2);
            Midpoint(c.x1, c.y2, c.x2, c.y2);
            Midpoint(c.x1, my, c.x2, my);
            if (c.x2 - c.x1 <= 2 && c.y2 - c.y1 <= 2)
                continue;
            // Pushed in reverse, so the first quarter is taken first. Where a
            // side is one pixel thin two quarters are the same rectangle: the
            // second visit would find every midpoint done and change nothing,
            // so it is left out (a column of 30000 rows would otherwise be
            // visited 4^15 times over).
            const Rect quarters[4] = {
                {c.x1, c.y1, mx, my}, {mx, c.y1, c.x2, my}, {c.x1, my, mx, c.y2}, {mx, my, c.x2, c.y2}};
            const bool sameColumns = c.x1 == c.x2, sameRows = c.y1 == c.y2;
            for (int q = 3; q >= 0; --q) {
                const bool repeatsLeft = sameColumns && (q == 1 || q == 3);
                const bool repeatsAbove = sameRows && (q == 2 || q == 3);
                if (!repeatsLeft && !repeatsAbove)
                    pending.push_back(quarters[q]);
            }
        }
    }

    CloudRandom& Random() { return random; }

private:
    TFastBMP& target;
    int r;
    CloudRandom random;
};

} // namespace

void GeneratePlasma(TFastBMP& target, int roughness, std::uint32_t seed, PackedColor background, PackedColor foreground)
{
    if (target.Empty())
        return;
    for (int y = 0; y < target.Height; ++y)
        std::memset(target.RowTable[static_cast<std::size_t>(y)], 0, static_cast<std::size_t>(3) * target.Width);
    Heights heights(target, roughness, seed);
    heights.At(0, 0) = static_cast<std::uint8_t>(heights.Random().Next() % 255);
    heights.Subdivide(0, 0, target.Width - 1, target.Height - 1);
    // Height h gives ((255 - h) bg + h fg) / 255 in each channel.
    std::uint8_t colors[256][3];
    const auto* bg = reinterpret_cast<const std::uint8_t*>(&background);
    const auto* fg = reinterpret_cast<const std::uint8_t*>(&foreground);
    for (int h = 0; h < 256; ++h)
        for (int ch = 0; ch < 3; ++ch)
            colors[h][ch] = static_cast<std::uint8_t>(((255 - h) * bg[ch] + h * fg[ch]) / 255);
    for (int y = 0; y < target.Height; ++y) {
        std::uint8_t* p = target.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < target.Width; ++x, p += 3)
            std::memcpy(p, colors[p[2]], 3);
    }
}

void MixClouds(TFastBMP& clouds, const TFastBMP& source, int transparency)
{
    const int t = std::clamp(transparency, 0, 100);
    ParallelRows(clouds.Height, ThreadPool::Count(0), [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            std::uint8_t* d = clouds.RowTable[static_cast<std::size_t>(y)];
            const std::uint8_t* s = source.RowTable[static_cast<std::size_t>(y)];
            for (int i = 0; i < 3 * clouds.Width; ++i)
                d[i] = static_cast<std::uint8_t>((t * s[i] + (100 - t) * d[i]) / 100);
        }
    });
}

} // namespace krt
