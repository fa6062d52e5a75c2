#pragma once

#include "core/FastBMP.h"

#include <cstdint>

namespace krt {

// The clouds' random numbers: a 64-bit linear congruential generator whose
// draws are bits 32 to 62 of the state after state = state x 1486058704437 + 1.
class CloudRandom {
public:
    explicit CloudRandom(std::uint32_t seed) : state(seed) {}
    std::uint32_t Next()
    {
        state = state * 1486058704437ull + 1;
        return static_cast<std::uint32_t>((state >> 32) & 0x7FFFFFFF);
    }

private:
    std::uint64_t state;
};

// Plasma clouds of roughness r into the target, seeded with `seed`: heights
// 1..255 by midpoint displacement from the top-left corner (the other corners
// and any point never a midpoint stay 0), then coloured from the background
// colour (height 0) to the foreground colour (height 255). The subdivision
// keeps its own list of rectangles, so tall or wide pictures cannot exhaust
// the call stack.
void GeneratePlasma(TFastBMP& target, int roughness, std::uint32_t seed, PackedColor background,
                    PackedColor foreground);

// Mixes the clouds with the unchanged source: t percent (0..100) of the source.
void MixClouds(TFastBMP& clouds, const TFastBMP& source, int transparency);

} // namespace krt
