#pragma once

#include <cstdint>

namespace krt {

// A colour handed around as one integer is packed 0x00RRGGBB, so that its three
// low bytes in memory order are exactly a pixel's blue, green and red bytes.
using PackedColor = std::uint32_t;

constexpr PackedColor PackRGB(int r, int g, int b)
{
    return (static_cast<PackedColor>(r & 0xFF) << 16) | (static_cast<PackedColor>(g & 0xFF) << 8) |
           static_cast<PackedColor>(b & 0xFF);
}
constexpr int RedOf(PackedColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(PackedColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(PackedColor c) { return static_cast<int>(c & 0xFF); }

// Marks the empty cells of a floating block of pixels.
constexpr PackedColor KeyColor = PackRGB(12, 12, 12);
constexpr PackedColor White = PackRGB(255, 255, 255);
constexpr PackedColor Black = PackRGB(0, 0, 0);

inline PackedColor ReadPixel(const std::uint8_t* p)
{
    return static_cast<PackedColor>(p[0]) | (static_cast<PackedColor>(p[1]) << 8) |
           (static_cast<PackedColor>(p[2]) << 16);
}
inline void WritePixel(std::uint8_t* p, PackedColor c)
{
    p[0] = static_cast<std::uint8_t>(c);
    p[1] = static_cast<std::uint8_t>(c >> 8);
    p[2] = static_cast<std::uint8_t>(c >> 16);
}

} // namespace krt
