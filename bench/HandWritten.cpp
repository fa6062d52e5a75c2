#include "HandWritten.h"

#include <cmath>

namespace krt::bench {

void HandWrittenWave(const TFastBMP& source, TFastBMP& destination, float a, float b)
{
    const int w = source.Width, h = source.Height;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* d = destination.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < w; ++x, d += 3) {
            const int sx = static_cast<int>(static_cast<float>(x) + a * std::sin(static_cast<float>(y) / (b + 1)));
            const int sy = y;
            if (sx >= 0 && sx < w) {
                const std::uint8_t* s = source.RowTable[static_cast<std::size_t>(sy)] + 3 * sx;
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            } else {
                d[0] = d[1] = d[2] = 255;
            }
        }
    }
}

void HandWrittenSwirl(const TFastBMP& source, TFastBMP& destination, float k)
{
    const int w = source.Width, h = source.Height;
    const float cx = static_cast<float>(w / 2), cy = static_cast<float>(h / 2), radius = static_cast<float>(w) / 2;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* d = destination.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < w; ++x, d += 3) {
            const float dx = static_cast<float>(x) - cx + 0.01f, dy = static_cast<float>(y) - cy;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float t = std::atan2(dy, dx) + k * std::fmax(0.0f, 1.0f - r / radius);
            const int sx = static_cast<int>(std::lround(std::cos(t) * r + cx));
            const int sy = static_cast<int>(std::lround(std::sin(t) * r + cy));
            if (sx >= 0 && sx < w && sy >= 0 && sy < h) {
                const std::uint8_t* s = source.RowTable[static_cast<std::size_t>(sy)] + 3 * sx;
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            } else {
                d[0] = d[1] = d[2] = 255;
            }
        }
    }
}

} // namespace krt::bench
